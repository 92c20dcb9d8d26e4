// A DLL planted in the program's folder under the name of one the program
// loads at run time must never be loaded.
#include "support/run_program.h"
#include "win32/system_dlls.h"
#include "win32/wide_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace tarvex {
namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The program itself loads nothing by a bare name that wine would take from
// its folder, so the restriction is also shown where a load by name happens.
TEST(DllSearch, RestrictedToSystem32LoadsTheSystemDllNotOneBesideTheProgram) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder.resize(folder.find_last_of(L'\\') + 1);
    const std::wstring planted = folder + L"dwmapi.dll";
    const std::wstring marker = folder + L"planted-dll-was-loaded.txt";
    ASSERT_TRUE(CopyFileW(FromUnixPath(TARVEX_PLANTED_DLL).c_str(), planted.c_str(), FALSE));

    RestrictDllSearchToSystem32();
    HMODULE loaded = LoadLibraryW(L"dwmapi.dll");
    wchar_t from[MAX_PATH] = {};
    if (loaded != nullptr) GetModuleFileNameW(loaded, from, MAX_PATH);
    const bool markerLeft = Exists(marker);
    DeleteFileW(marker.c_str());
    if (loaded != nullptr) FreeLibrary(loaded);
    DeleteFileW(planted.c_str());

    EXPECT_FALSE(markerLeft);
    ASSERT_NE(nullptr, loaded);
    EXPECT_EQ(0, _wcsnicmp(from, L"C:\\windows\\system32\\", 20)) << from;
}

// A loader as on Windows 7 without KB2533623: the System32-only flag is refused.
std::vector<DWORD> loadFlags;
HMODULE WINAPI LoadWithoutSearchFlags(LPCWSTR name, HANDLE file, DWORD flags) {
    loadFlags.push_back(flags);
    if (flags & LOAD_LIBRARY_SEARCH_SYSTEM32) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return LoadLibraryExW(name, file, flags);
}

TEST(DllSearch, CommonControlsLoadWhereTheLoaderRefusesTheSystem32Flag) {
    EXPECT_TRUE(LoadCommonControls(&LoadWithoutSearchFlags));
    EXPECT_EQ((std::vector<DWORD>{LOAD_LIBRARY_SEARCH_SYSTEM32, 0}), loadFlags);
}

}  // namespace
}  // namespace tarvex
