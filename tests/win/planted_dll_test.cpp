// A DLL planted in the program's folder under the name of one the program
// loads at run time must never be loaded: start the real program from such a
// folder, press Check, close it, and look for the planted DLL's marker.
#include "platform/system_dlls.h"
#include "platform/wide_text.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace tarvex {
namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The names the program, common controls and the window system load by name.
const std::vector<std::wstring> kPlantedNames = {L"comctl32.dll", L"uxtheme.dll", L"version.dll", L"dwmapi.dll",
                                                 L"setupapi.dll", L"cfgmgr32.dll"};

class PlantedDll : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = TempFilePath(L"tarvex-planted\\");
        CreateDirectoryW(folder_.c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(FromUnixPath(TARVEX_MANAGER_EXE).c_str(), (folder_ + L"tarvex-manager.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(FromUnixPath(TARVEX_EXE).c_str(), (folder_ + L"tarvex.exe").c_str(), FALSE));
        for (const std::wstring& name : kPlantedNames) {
            ASSERT_TRUE(CopyFileW(FromUnixPath(TARVEX_PLANTED_DLL).c_str(), (folder_ + name).c_str(), FALSE));
        }
        DeleteFileW(Marker().c_str());
    }
    void TearDown() override {
        for (const std::wstring& name : kPlantedNames) DeleteFileW((folder_ + name).c_str());
        DeleteFileW((folder_ + L"tarvex-manager.exe").c_str());
        DeleteFileW((folder_ + L"tarvex.exe").c_str());
        DeleteFileW(Marker().c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    std::wstring Marker() const { return folder_ + L"planted-dll-was-loaded.txt"; }

    std::wstring folder_;
};

// wine maps its own builds for these names whatever the folder holds, so
// under wine this shows the program starting, working and ending beside
// them; the search itself is shown by the next test.
TEST_F(PlantedDll, IsNeverLoadedByTheWindowProgram) {
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + folder_ + L"tarvex-manager.exe\"";
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                               &process));
    HWND window = nullptr;
    for (int attempt = 0; attempt < 300 && window == nullptr; ++attempt) {
        window = FindWindowW(L"TarvexManagerForm1", L"Tarvex Manager");
        if (window == nullptr) Sleep(50);
    }
    ASSERT_NE(nullptr, window) << "the program did not open its window";
    SendMessageW(FindWindowExW(window, nullptr, L"BUTTON", L"&Check"), BM_CLICK, 0, 0);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 20000));
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(0u, code);
    EXPECT_FALSE(Exists(Marker()));
}

TEST_F(PlantedDll, IsNeverLoadedByTheConsoleProgram) {
    EXPECT_EQ(0, RunProgram(L"\"" + folder_ + L"tarvex.exe\" list"));
    EXPECT_FALSE(Exists(Marker()));
}

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

}  // namespace
}  // namespace tarvex
