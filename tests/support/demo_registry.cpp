#include "support/demo_registry.h"

#include "support/network_devices.h"

#include <string>
#include <tuple>
#include <vector>

namespace tarvex {

namespace {

constexpr const char* kNetClass = "{4D36E972-E325-11CE-BFC1-08002BE10318}";
constexpr const char* kNetClientClass = "{4D36E973-E325-11CE-BFC1-08002BE10318}";
constexpr const char* kNetTransClass = "{4D36E975-E325-11CE-BFC1-08002BE10318}";

struct DemoConnection {
    const char* classKey;
    const char* connectionKey;
    const char* name;
    const char* pnpInstanceId;
    std::uint32_t mediaSubType;
};

const std::vector<DemoConnection> kCurrentConnections{
    {kNetClass, "{0F3A6B21-8C4D-4E51-9A7B-2C6D1E8F4A10}", "Ethernet",
     "PCI\\VEN_8086&DEV_15B8&SUBSYS_86721043&REV_00\\3&11583659&0&FE", 1},
    {kNetClass, "{5B1E9D47-3A2C-4F68-B0E1-7D4C9A2F6B35}", "Wi-Fi",
     "PCI\\VEN_8086&DEV_2723&SUBSYS_00848086&REV_1A\\4&2F1B6F9&0&00E4", 2},
    {kNetClass, "{9C7D2E18-6F4B-4A93-8E25-1B3F7C6D0A42}", "Bluetooth Network Connection",
     "BTH\\MS_BTHPAN\\6&2C8F1D3A&0&2", 7},
    {kNetClass, "{C2A84F6E-1D3B-47C9-A5E2-9F0B6D8E3C17}", "", "ROOT\\NET\\0000", 1},
    {kNetClientClass, "{E6F1B3A9-4C2D-4B87-9D15-3A7E0C8F2B64}", "VPN - Office", "SWD\\RASMAN\\MS_PPTPMINIPORT", 1},
};

const std::vector<DemoConnection> kStaleConnections{
    {kNetClass, "{0F3A6B21-8C4D-4E51-9A7B-2C6D1E8F4A10}", "Ethernet",
     "PCI\\VEN_8086&DEV_15B8&SUBSYS_86721043&REV_00\\3&11583659&0&FE", 1},
    {kNetClass, "{3D8B5F02-7E1A-4C36-B9D4-6A2E8F1C5B79}", "Local Area Connection 2",
     "PCI\\VEN_10EC&DEV_8168&SUBSYS_85051043&REV_06\\4&1A2B3C4D&0&00E5", 1},
    {kNetClass, "{A47E2C91-5B3D-4F18-8C6A-0E9D2B7F4163}", "Local Area Connection 3",
     "USB\\VID_0B95&PID_1790\\000000000002B4", 1},
};

std::string DwordBytes(std::uint32_t number) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
    return bytes;
}

std::string Sz(const std::string& text) { return text + '\0'; }

// A binding blob the size of a real machine's Config value.
std::string ConfigBlob() {
    std::string blob(6000, '\0');
    std::uint32_t state = 0x2545F491;
    for (char& byte : blob) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return blob;
}

class Seeder {
public:
    explicit Seeder(RegistryWriter& writer) : writer_(writer) {}

    void Key(const std::string& path) { Keep(writer_.CreateKey(kLocalMachine, path)); }
    void Value(const std::string& path, const std::string& name, std::uint32_t type, const std::string& bytes) {
        Keep(writer_.SetValue(kLocalMachine, path, name, type, bytes));
    }
    Status status() const { return status_; }

private:
    void Keep(Status status) {
        if (status_ == kSuccess) status_ = status;
    }
    RegistryWriter& writer_;
    Status status_ = kSuccess;
};

void SeedNetworkKey(Seeder& seed, const std::string& network, const std::vector<DemoConnection>& connections) {
    seed.Value(network, "Config", kRegBinary, ConfigBlob());
    for (const auto& c : connections) {
        std::string connection = network + "\\" + c.classKey + "\\" + c.connectionKey + "\\Connection";
        seed.Value(connection, "Name", kRegSz, Sz(c.name));
        seed.Value(connection, "PnpInstanceID", kRegSz, Sz(c.pnpInstanceId));
        seed.Value(connection, "MediaSubType", kRegDword, DwordBytes(c.mediaSubType));
    }
    std::string netClass = network + "\\" + kNetClass;
    // A connection key whose adapter left no Connection subkey behind.
    seed.Value(netClass + "\\{7E4B1A3C-2D5F-4E86-9B07-C1D3F5A7E902}\\Ndi", "Service", kRegSz, Sz("e1dexpress"));
    // Subkeys that are not connection or class keys, at both levels.
    seed.Value(netClass + "\\Descriptions", "Intel(R) Ethernet Connection", kRegMultiSz, std::string("1\0\0", 3));
    seed.Value(network + "\\LightweightCallHandlers\\{F1E2D3C4-B5A6-4978-8695-A4B3C2D1E0F9}\\Connection", "Name",
               kRegSz, Sz("Not a connection"));
    seed.Key(network + "\\" + kNetTransClass + "\\{B3C5D7E9-F1A2-4B4C-8D6E-0F1A2B3C4D5E}\\Ndi");
}

// What Tcpip keeps under a connection's GUID, as it writes it (in lower case).
void SeedIpv4(Seeder& seed, const std::string& controlSet, const std::string& guid, const char* staticAddress) {
    const std::string key = "SYSTEM\\" + controlSet + "\\Services\\Tcpip\\Parameters\\Interfaces\\" + guid;
    seed.Value(key, "EnableDHCP", kRegDword, DwordBytes(staticAddress ? 0 : 1));
    seed.Value(key, "IPAddress", kRegMultiSz, Sz(staticAddress ? staticAddress : "0.0.0.0") + '\0');
    if (staticAddress) seed.Value(key, "SubnetMask", kRegMultiSz, Sz("255.255.255.0") + '\0');
}

}  // namespace

Status SeedDemoRegistry(RegistryWriter& writer) {
    // The adapters still there; the Bluetooth, VPN and ControlSet002 entries
    // name devices long gone.
    for (const auto& [id, description, friendly] : {
             std::tuple{kCurrentConnections[0].pnpInstanceId, "Intel(R) Ethernet Connection I219-V", ""},
             std::tuple{kCurrentConnections[1].pnpInstanceId, "Intel(R) Wi-Fi 6 AX200 160MHz", ""},
             std::tuple{kCurrentConnections[3].pnpInstanceId, "Microsoft KM-TEST Loopback Adapter",
                        "Loopback Adapter (test lab)"},
         }) {
        if (Status status = SeedNetworkDevice(writer, id, description, friendly); status != kSuccess) return status;
    }
    Seeder seed(writer);
    SeedNetworkKey(seed, "SYSTEM\\CurrentControlSet\\Control\\Network", kCurrentConnections);
    SeedNetworkKey(seed, "SYSTEM\\ControlSet001\\Control\\Network", kCurrentConnections);
    SeedNetworkKey(seed, "SYSTEM\\ControlSet002\\Control\\Network", kStaleConnections);
    // The live adapters take DHCP; the gone ones kept their static addresses.
    for (const char* controlSet : {"CurrentControlSet", "ControlSet001"}) {
        SeedIpv4(seed, controlSet, "{0f3a6b21-8c4d-4e51-9a7b-2c6d1e8f4a10}", nullptr);
        SeedIpv4(seed, controlSet, "{5b1e9d47-3a2c-4f68-b0e1-7d4c9a2f6b35}", nullptr);
        SeedIpv4(seed, controlSet, "{9c7d2e18-6f4b-4a93-8e25-1b3f7c6d0a42}", "192.168.44.1");
    }
    SeedIpv4(seed, "ControlSet002", "{3d8b5f02-7e1a-4c36-b9d4-6a2e8f1c5b79}", "10.20.30.41");
    return seed.status();
}

}  // namespace tarvex
