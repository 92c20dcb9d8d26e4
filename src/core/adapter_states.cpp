#include "core/adapter_states.h"

#include <optional>
#include <unordered_map>

namespace tarvex {

namespace {

// Instance IDs are ASCII: bus, hardware and instance names.
AnsiText FoldAscii(AnsiText text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

struct KnownDevice {
    Utf8Text name;
    bool present = false;
};

}  // namespace

std::optional<DeviceQueryError> SetAdapterStates(DeviceQuery& devices, std::vector<ConnectionRow>& rows) {
    DeviceList<AnsiText> present = devices.PresentDevices();
    if (present.error) return present.error;
    DeviceList<NetworkDevice> known = devices.KnownDevices();
    if (known.error) return known.error;

    std::unordered_map<AnsiText, KnownDevice> byId;
    for (const NetworkDevice& device : known.devices) byId[FoldAscii(device.instanceId)].name = device.name;
    for (const AnsiText& id : present.devices) byId[FoldAscii(id)].present = true;

    for (ConnectionRow& row : rows) {
        if (!row.pnpInstanceId) continue;
        auto device = byId.find(FoldAscii(*row.pnpInstanceId));
        if (device == byId.end()) {
            row.adapter = AdapterState::NoDevice;
            continue;
        }
        row.adapter = device->second.present ? AdapterState::Present : AdapterState::NotPresent;
        row.device = device->second.name;
    }
    return std::nullopt;
}

}  // namespace tarvex
