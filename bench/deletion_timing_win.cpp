// Times deleting 200 ticked rows with the selective backup into a real
// SmallBackup.reg, empty and 50 MB long. Seeds HKLM, so run it only in a
// throw-away wine prefix.
#include "bench_registry.h"
#include "support/fake_platform.h"
#include "support/network_devices.h"
#include "support/win32_registry_writer.h"
#include "support/win32_services.h"
#include "win32/wide_text.h"
#include "window/deletion.h"
#include "window/fill_connection_list.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 200;

void WriteEarlierBackups(const std::wstring& path, std::size_t megabytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string chunk = "REGEDIT4\r\n\r\n" + std::string((1 << 20) - 12, ';');
    DWORD written = 0;
    for (std::size_t i = 0; i < megabytes; ++i) {
        WriteFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &written, nullptr);
        chunk.assign(chunk.size(), ';');
    }
    CloseHandle(file);
}

}  // namespace

int main() {
    tarvex::Win32Services win;
    tarvex::Win32RegistryWriter writer;
    tarvex::TickedList list;
    tarvex::FakeChecks checks;
    tarvex::RecordingMessageBoxes messages;
    tarvex::CountingPump pump;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::string folder = tarvex::WideToUtf8(temp);
    const std::wstring small = std::wstring(temp) + L"SmallBackup.reg";
    // A device list with nothing in it would be a failed query.
    tarvex::SeedNetworkDevice(writer, "TIMING\\NIC\\0", "NIC", "");

    for (std::size_t megabytes : {0, 50}) {
        std::vector<double> times;
        for (int run = 0; run < 5; ++run) {
            tarvex::SeedConnections(writer, kRows / 4);
            tarvex::FillConnectionList(win.services, list, messages);
            WriteEarlierBackups(small, megabytes);
            auto start = std::chrono::steady_clock::now();
            tarvex::DeleteTickedConnections(win.services, {list, checks, messages, pump}, folder);
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::sort(times.begin(), times.end());
        std::printf("%d rows deleted, SmallBackup.reg %zu MB before: %.0f ms (median of 5)\n", kRows, megabytes,
                    times[2]);
    }
    DeleteFileW(small.c_str());
    return 0;
}
