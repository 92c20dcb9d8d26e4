// Imports the first and the last function of check_imports.sh's list, so the
// test run can see the check report both.
#include <windows.h>

int main() {
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    return static_cast<int>(GetDpiForWindow(GetDesktopWindow())) + static_cast<int>(now.dwLowDateTime & 1);
}
