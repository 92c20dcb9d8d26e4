#include "win32/system_dlls.h"

#include <windows.h>
#include <commctrl.h>

namespace tarvex {

void RestrictDllSearchToSystem32() {
    using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
    // kernel32 is loaded in every process: looking it up loads nothing.
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesCall>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault != nullptr) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without it, at least take the current folder out of the search.
    SetDllDirectoryW(L"");
}

bool LoadCommonControls(LoadLibraryCall load) {
    // A full System32 path would pass the side-by-side store by and give the
    // old controls; the restricted search still finds version 6 through it.
    HMODULE module = load(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows 7 without KB2533623 refuses the flag. Its search by name still
    // takes version 6 from the manifest's side-by-side entry, and
    // SetDllDirectoryW has taken the current folder out of it.
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) module = load(L"comctl32.dll", nullptr, 0);
    if (module == nullptr) return false;
    using InitCommonControlsExCall = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = reinterpret_cast<InitCommonControlsExCall>(
        reinterpret_cast<void*>(GetProcAddress(module, "InitCommonControlsEx")));
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    return init != nullptr && init(&controls) != FALSE;
}

}  // namespace tarvex
