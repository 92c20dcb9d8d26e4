#include "core/present_adapters.h"

#include "core/connection_scan.h"
#include "core/network_paths.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"

#include <string>

namespace tarvex {

PresentAdapters ReadPresentAdapters(DeviceQuery& devices, RegistryApi& registry) {
    DeviceList<DeviceDriver> drivers = devices.PresentDrivers();
    if (drivers.error) return {{}, drivers.error};
    PresentAdapters present;
    for (DeviceDriver& device : drivers.devices) {
        if (device.driver.empty()) continue;
        PresentAdapter adapter{std::move(device.instanceId), std::move(device.name), DriverKeysKey() + "\\" + device.driver};
        UniqueKey key(registry);
        const Status opened = key.Open(kLocalMachine, adapter.driverKey, kKeyRead);
        if (opened == kFileNotFound) continue;
        if (opened != kSuccess) return {{}, DeviceQueryError{"RegOpenKeyExA", static_cast<std::uint32_t>(opened), {}}};
        std::optional<AnsiText> guid = ReadTextValue(registry, key.get(), "NetCfgInstanceId");
        if (!guid) continue;
        adapter.connectionGuid = std::move(*guid);
        adapter.characteristics = ReadDwordValue(registry, key.get(), "Characteristics").value_or(0);
        present.adapters.push_back(std::move(adapter));
    }
    return present;
}

const PresentAdapter* AdapterOfGuid(const PresentAdapters& present, const CaseMapping& cases, const AnsiText& guid) {
    const Utf8Text wanted = cases.Upper(guid);
    for (const PresentAdapter& adapter : present.adapters) {
        if (cases.Upper(adapter.connectionGuid) == wanted) return &adapter;
    }
    return nullptr;
}

}  // namespace tarvex
