#pragma once

#include <windows.h>

namespace tarvex {

using LoadLibraryCall = HMODULE(WINAPI*)(LPCWSTR, HANDLE, DWORD);

// Both programs run elevated from folders other users may write to: from
// here on, a DLL that Windows or the program loads by name comes from
// System32 (or the side-by-side store), never from the program's folder.
// Windows 7 has the call only with update KB2533623; it is looked up, not imported.
void RestrictDllSearchToSystem32();

// Registers the list view and button classes of common controls 6. The DLL
// is no KnownDLL, so it is not imported: it is loaded at run time, where the
// manifest's side-by-side entry or System32 puts it; where the loader refuses
// the System32-only flag (Windows 7 without KB2533623), by its name alone.
// False when it cannot be loaded.
bool LoadCommonControls(LoadLibraryCall load = &LoadLibraryExW);

}  // namespace tarvex
