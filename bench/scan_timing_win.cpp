// Times the scan under the real registry with 100 seeded network devices,
// without the Adapter column and with it (one more query a row and one pair
// of SetupAPI queries): the registry calls alone, and pressing Check in a
// hidden main window. Also what the devices' two dates add to a scan: their
// reads timed alone, against the scan that includes them; and what the IPv4
// column adds, with half the rows holding IP settings. Seeds HKLM, so run it
// only in a throw-away wine prefix.
#include "bench_registry.h"
#include "median_time.h"
#include "support/assembled_window.h"
#include "support/fake_platform.h"
#include "support/network_devices.h"
#include "support/win32_registry_writer.h"
#include "support/win32_services.h"

#include <windows.h>
#include <devpropdef.h>
#include <setupapi.h>

#include <cstdio>

namespace {

// The two date reads the known-device query makes, alone, for every network device.
void ReadEveryDeviceDate() {
    constexpr GUID kNetworkClass = {0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
    constexpr GUID kDates = {0x83da6326, 0x97a6, 0x4088, {0x94, 0x53, 0xa1, 0x92, 0x3f, 0x57, 0x3b, 0x29}};
    HDEVINFO set = SetupDiGetClassDevsW(&kNetworkClass, nullptr, nullptr, 0);
    SP_DEVINFO_DATA device{sizeof(device)};
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        for (ULONG id : {102UL, 103UL}) {
            const DEVPROPKEY key{kDates, id};
            DEVPROPTYPE type = 0;
            FILETIME date{};
            SetupDiGetDevicePropertyW(set, &device, &key, &type, reinterpret_cast<BYTE*>(&date), sizeof date, nullptr, 0);
        }
    }
    SetupDiDestroyDeviceInfoList(set);
}

}  // namespace

int main() {
    tarvex::Win32Services win;
    tarvex::Win32Registry& registry = win.registry;
    tarvex::Win32RegistryWriter writer;
    tarvex::SetupApiDevices& devices = win.platform.devices;
    tarvex::RecordingExit exit;
    for (int i = 0; i < 100; ++i) {
        tarvex::SeedNetworkDevice(writer, tarvex::SeededInstanceId(i), "Intel(R) PRO/1000 MT", "");
        tarvex::SeedDeviceDate(writer, tarvex::SeededInstanceId(i), 102, 134'355'109'250'000'000);
        tarvex::SeedDeviceDate(writer, tarvex::SeededInstanceId(i), 103, 134'326'944'000'000'000);
    }
    const double datesMs = tarvex::MedianMilliseconds(ReadEveryDeviceDate);
    std::printf("the two SetupAPI queries over 100 devices: present %.0f ms, known %.0f ms\n",
                tarvex::MedianMilliseconds([&] { devices.PresentDevices(); }),
                tarvex::MedianMilliseconds([&] { devices.KnownDevices(); }));
    int seeded = 0;
    for (int perPath : {2500, 5000}) {
        tarvex::SeedConnections(writer, perPath);  // adds to what an earlier round seeded
        tarvex::SeedIpSettingsOfHalf(writer, perPath);
        seeded = perPath;
        std::size_t rows = 0;
        auto [namesMs, adaptersMs] = tarvex::MedianMillisecondsInTurns(
            [&] { rows = tarvex::ScanConnectionRows(win.services, tarvex::RowReads::NamesOnly).rows.size(); },
            [&] { tarvex::ScanConnectionRows(win.services, tarvex::RowReads::Adapters); });
        // The IPv4 column: half the rows have settings, the other half look for them in vain.
        auto [withoutIpMs, withIpMs] = tarvex::MedianMillisecondsInTurns(
            [&] { tarvex::ScanConnectionRows(win.services, tarvex::RowReads::Adapters); },
            [&] { tarvex::ScanConnectionRows(win.services, tarvex::RowReads::Columns); });
        std::printf("%zu rows, half with IP settings: the window's scan without them %.0f ms, with them %.0f ms "
                    "(%.2fx)\n",
                    rows, withoutIpMs, withIpMs, withIpMs / withoutIpMs);
        tarvex::AssembledWindow assembled(registry, registry, exit);
        assembled.window.Create();
        // What pressing Check costs, with the column and as it was without it.
        auto [listNamesMs, listAdaptersMs] = tarvex::MedianMillisecondsInTurns(
            [&] {
                tarvex::ConnectionList& list = assembled.controls.list;
                tarvex::SuspendedDrawing quiet(list);
                list.RemoveAllRows();
                for (const tarvex::ConnectionRow& row :
                     tarvex::ScanConnectionRows(win.services, tarvex::RowReads::NamesOnly).rows) {
                    list.AppendRow(row);
                }
                quiet.End();
            },
            [&] { assembled.form.cmdReadClick(); });
        std::printf("%zu rows: registry calls: names only %.0f ms, with the Adapter column %.0f ms (%.2fx); "
                    "pressing Check: without %.0f ms, with %.0f ms (%.2fx)\n",
                    rows, namesMs, adaptersMs, adaptersMs / namesMs, listNamesMs, listAdaptersMs,
                    listAdaptersMs / listNamesMs);
        std::printf("%zu rows: the devices' dates take %.1f ms of the %.0f ms scan with adapters: "
                    "with the dates against without them %.3fx\n",
                    rows, datesMs, adaptersMs, adaptersMs / (adaptersMs - datesMs));
    }
    return seeded > 0 ? 0 : 1;
}
