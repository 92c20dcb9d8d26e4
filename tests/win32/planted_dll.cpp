// Stands for a DLL another user planted beside an elevated program: when it
// is loaded, it leaves a marker file next to itself.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(instance, path, MAX_PATH);
    std::wstring marker(path);
    marker = marker.substr(0, marker.find_last_of(L'\\') + 1) + L"planted-dll-was-loaded.txt";
    HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    // Refusing to load keeps the program working, so only the marker tells.
    return FALSE;
}
