// Demo helper: waits for the main window, presses "&Check" and waits until
// the scan has filled the list, so a screenshot shows the rows.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

int main() {
    // The window exists before its controls do: wait until it is shown with them.
    HWND window = nullptr;
    HWND check = nullptr;
    HWND list = nullptr;
    for (int attempt = 0; attempt < 300; ++attempt) {
        window = FindWindowW(L"TarvexManagerForm1", L"Tarvex Manager");
        if (window != nullptr && IsWindowVisible(window)) {
            check = FindWindowExW(window, nullptr, L"BUTTON", L"&Check");
            list = FindWindowExW(window, nullptr, L"SysListView32", nullptr);
            if (check != nullptr && list != nullptr) break;
        }
        Sleep(100);
    }
    if (check == nullptr || list == nullptr) {
        std::fputs("the Tarvex Manager window did not open\n", stderr);
        return 1;
    }
    SendMessageW(check, BM_CLICK, 0, 0);
    auto rows = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    std::printf("pressed &Check: %d rows\n", static_cast<int>(rows));
    return rows > 0 ? 0 : 1;
}
