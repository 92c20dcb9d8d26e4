#include "core/adapter_states.h"

#include "core/device_set.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace tarvex {

namespace {

// Windows always has network devices, its WAN miniports among them: a query
// that lists none at all did not list them whole, and would make every entry stale.
const DeviceQueryError kNoDeviceListed{"SetupDiEnumDeviceInfo", kNoMoreDevices,
                                       "No network device was listed at all, though Windows always has some."};

struct KnownDevice {
    const NetworkDevice* device = nullptr;  // none for one present but not listed as known
    bool present = false;
};

}  // namespace

std::optional<DeviceQueryError> SetAdapterStates(DeviceQuery& devices, const CaseMapping& cases,
                                                 std::vector<ConnectionRow>& rows) {
    // Rows that name no adapter have nothing to ask the devices about.
    if (std::none_of(rows.begin(), rows.end(), [](const ConnectionRow& row) { return row.pnpInstanceId.has_value(); })) {
        return std::nullopt;
    }
    DeviceList<AnsiText> present = devices.PresentDevices();
    if (present.error) return present.error;
    DeviceList<NetworkDevice> known = devices.KnownDevices();
    if (known.error) return known.error;
    if (present.devices.empty() && known.devices.empty()) return kNoDeviceListed;

    std::unordered_map<AnsiText, KnownDevice> byId;
    for (const NetworkDevice& device : known.devices) byId[cases.Upper(device.instanceId)].device = &device;
    for (const AnsiText& id : present.devices) byId[cases.Upper(id)].present = true;

    for (ConnectionRow& row : rows) {
        if (!row.pnpInstanceId) continue;
        auto device = byId.find(cases.Upper(*row.pnpInstanceId));
        if (device == byId.end()) {
            row.adapter = AdapterState::NoDevice;
            continue;
        }
        row.adapter = device->second.present ? AdapterState::Present : AdapterState::NotPresent;
        if (const NetworkDevice* known = device->second.device) {
            row.device = known->name;
            row.lastArrival = known->lastArrival;
            row.lastRemoval = known->lastRemoval;
        }
    }
    return std::nullopt;
}

}  // namespace tarvex
