#include "message_box_robot.h"
#include "support/memory_registry.h"
#include "support/network_devices.h"
#include "support/run_program.h"
#include "support/seed_connection.h"
#include "support/win32_registry_writer.h"
#include "tarvex_version.h"
#include "win32/cell_tips.h"
#include "win32/control_layout.h"
#include "win32/main_window.h"
#include "win32/setupapi_devices.h"
#include "win32/wide_text.h"
#include "win32/win32_registry.h"
#include "window/fill_connection_list.h"
#include "window_test_support.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

namespace tarvex {
namespace {

RECT ChildRect(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

class MainWindowTest : public ::testing::Test {
protected:
    explicit MainWindowTest(DpiFunctions dpiFunctions = DpiFunctions())
        : assembled{registry, registry, exit, dpiFunctions} {}
    void SetUp() override {
        for (const auto& [classKey, connection, name] : std::vector<std::tuple<std::string, std::string, std::string>>{
                 {"{A}", "{1}", "beta"}, {"{A}", "{2}", "Alpha"}, {"{B}", "{3}", "gamma"}}) {
            ASSERT_EQ(kSuccess, SeedConnection(registry, "SYSTEM\\CurrentControlSet\\Control\\Network\\" + classKey +
                                                             "\\" + connection, name));
        }
        window.Create();
        window.Show(SW_SHOWNORMAL);
        Pump();
    }
    void TearDown() override {
        if (window.hwnd() != nullptr) DestroyWindow(window.hwnd());
        Pump();
    }

    HWND Control(int id) { return window.Control(id); }
    void Press(int id) {
        SendMessageW(Control(id), BM_CLICK, 0, 0);
        Pump();
    }
    void SetClientSize(int width, int height) {
        RECT frame{0, 0, width, height};
        AdjustWindowRectEx(&frame, GetWindowLongW(window.hwnd(), GWL_STYLE), FALSE, 0);
        SetWindowPos(window.hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        Pump();
    }
    SIZE ListSize() {
        RECT rect = ChildRect(Control(kLV1Id));
        return {rect.right - rect.left, rect.bottom - rect.top};
    }
    void ClickHeader(int column) {
        HWND header = reinterpret_cast<HWND>(SendMessageW(Control(kLV1Id), LVM_GETHEADER, 0, 0));
        RECT item{};
        SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
        LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
        SendMessageW(header, WM_LBUTTONUP, 0, point);
        Pump();
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int row = 0; row < LV1.RowCount(); ++row) names.push_back(LV1.RowSubItem(row));
        return names;
    }

    void ExpectLayoutAt96Dpi();

    MemoryRegistry registry;
    RecordingExit exit;
    AssembledWindow assembled;
    MainWindow& window = assembled.window;
    ConnectionList& LV1 = assembled.controls.list;
};

TEST_F(MainWindowTest, LayoutAt96Dpi) { ExpectLayoutAt96Dpi(); }

FARPROC FindNothing(const char*) { return nullptr; }

// Before Windows 10 1607 there are no per-DPI calls: the system DPI and the plain calls serve.
class MainWindowOnOlderWindows : public MainWindowTest {
protected:
    MainWindowOnOlderWindows() : MainWindowTest(DpiFunctions(&FindNothing)) {}
};

TEST_F(MainWindowOnOlderWindows, LayoutAt96Dpi) { ExpectLayoutAt96Dpi(); }

void MainWindowTest::ExpectLayoutAt96Dpi() {
    ASSERT_EQ(96u, DpiFunctions().ForWindow(window.hwnd()));
    EXPECT_EQ(L"Tarvex Manager", TextOf(window.hwnd()));
    RECT client{};
    GetClientRect(window.hwnd(), &client);
    EXPECT_EQ(559, client.right);
    EXPECT_EQ(462, client.bottom);

    struct Expected {
        int id;
        const wchar_t* caption;
        RECT rect;
    };
    const Expected expected[] = {
        {kLV1Id, L"", {8, 80, 8 + 543, 80 + 374}},
        {kCmdReadId, L"&Check", {8, 8, 89, 49}},
        {kComDelId, L"&Delete Selected", {104, 8, 185, 49}},
        {kChkBackupId, L"Backup ALL related settings before deleting them", {288, 8, 545, 25}},
        {kChkSelectiveId, L"Backup ONLY those settings deleted", {288, 32, 489, 49}},
        {kCmdCopyId, L"Co&py table to clipboard", {200, 8, 273, 49}},
        {kChkIpSettingsId, L"Also delete IP settings of absent adapters", {8, 56, 265, 73}},
        {kChkUninstallId, L"Also uninstall absent adapters", {288, 56, 489, 73}},
    };
    HWND child = GetWindow(window.hwnd(), GW_CHILD);
    for (const Expected& control : expected) {
        ASSERT_EQ(Control(control.id), child) << "tab order at control " << control.id;
        EXPECT_EQ(control.caption, TextOf(child));
        RECT rect = ChildRect(child);
        EXPECT_EQ(control.rect.left, rect.left) << control.id;
        EXPECT_EQ(control.rect.top, rect.top) << control.id;
        EXPECT_EQ(control.rect.right, rect.right) << control.id;
        EXPECT_EQ(control.rect.bottom, rect.bottom) << control.id;
        EXPECT_NE(nullptr, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
        EXPECT_TRUE(GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(Control(kChkBackupId), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageW(Control(kChkSelectiveId), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(Control(kChkIpSettingsId), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(Control(kChkUninstallId), BM_GETCHECK, 0, 0));

    HWND list = Control(kLV1Id);
    LONG style = GetWindowLongW(list, GWL_STYLE);
    EXPECT_EQ(LVS_REPORT, style & LVS_TYPEMASK);
    EXPECT_FALSE(style & LVS_SINGLESEL);
    auto extended = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_TRUE(extended & LVS_EX_CHECKBOXES);
    EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(extended & LVS_EX_LABELTIP) << "the narrow Key column shows a cut path whole in a tip";
    for (int button : {kCmdReadId, kComDelId, kCmdCopyId}) {
        EXPECT_TRUE(GetWindowLongW(Control(button), GWL_STYLE) & BS_MULTILINE) << "a long caption wraps, not cut";
    }
    EXPECT_EQ(96, SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
    EXPECT_EQ(133, SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_EQ(73, SendMessageW(list, LVM_GETCOLUMNWIDTH, 2, 0));
    EXPECT_EQ(86, SendMessageW(list, LVM_GETCOLUMNWIDTH, 3, 0));
    EXPECT_EQ(70, SendMessageW(list, LVM_GETCOLUMNWIDTH, 4, 0));
    EXPECT_EQ(80, SendMessageW(list, LVM_GETCOLUMNWIDTH, 5, 0));
    // Every header in sight at first show, IPv4's included.
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT last{};
    SendMessageW(header, HDM_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&last));
    RECT inside{};
    GetClientRect(list, &inside);
    EXPECT_LE(last.right, inside.right);
    std::vector<std::wstring> headers;
    for (int column = 0; column < 6; ++column) {
        wchar_t text[32] = {};
        LVCOLUMNW item{};
        item.mask = LVCF_TEXT;
        item.pszText = text;
        item.cchTextMax = 32;
        SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
        headers.push_back(text);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"Key", L"Connection", L"Adapter", L"Device", L"Last seen", L"IPv4"}),
              headers);
    EXPECT_EQ(0, LV1.RowCount());
    EXPECT_NE(0u, GetClassLongPtrW(window.hwnd(), GCLP_HICON));
}

TEST_F(MainWindowTest, ResizeKeepsMarginsAndRefusesNegativeSizes) {
    SetClientSize(700, 500);
    EXPECT_EQ(684, ListSize().cx);
    EXPECT_EQ(412, ListSize().cy);

    ShowWindow(window.hwnd(), SW_MINIMIZE);
    Pump();
    EXPECT_EQ(684, ListSize().cx);
    EXPECT_EQ(412, ListSize().cy);
    ShowWindow(window.hwnd(), SW_RESTORE);
    Pump();
    EXPECT_EQ(684, ListSize().cx);

    SetClientSize(300, 40);  // below 1320 twips high: the height stays
    EXPECT_EQ(284, ListSize().cx);
    EXPECT_EQ(412, ListSize().cy);
    // A framed window has a minimum width; without a frame the client can be that narrow.
    SetWindowLongW(window.hwnd(), GWL_STYLE, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    SetWindowPos(window.hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    SetClientSize(300, 40);
    LONG widthBefore = ListSize().cx;
    SetClientSize(10, 300);  // below 240 twips wide: the width stays
    EXPECT_EQ(widthBefore, ListSize().cx);
    EXPECT_EQ(212, ListSize().cy);
}

TEST_F(MainWindowTest, CheckFillsTheListAndHeaderClicksFlipOneDirection) {
    Press(kCmdReadId);
    EXPECT_EQ((std::vector<std::string>{"beta", "Alpha", "gamma"}), Names());

    ClickHeader(1);  // "Connection": descending from the initial ascending
    EXPECT_EQ((std::vector<std::string>{"gamma", "beta", "Alpha"}), Names());
    ClickHeader(0);  // "Key": ascending
    EXPECT_EQ((std::vector<std::string>{"beta", "Alpha", "gamma"}), Names());
    ClickHeader(1);  // "Connection": descending again
    ClickHeader(1);  // and ascending
    EXPECT_EQ((std::vector<std::string>{"Alpha", "beta", "gamma"}), Names());
    EXPECT_EQ(SortDirection::Ascending, LV1.GetSortDirection());

    Press(kCmdReadId);  // a rescan comes back in the sorted order
    EXPECT_EQ((std::vector<std::string>{"Alpha", "beta", "gamma"}), Names());
}

// beta's adapter is a device wine lists, Alpha's is gone, gamma names none.
class MainWindowWithAdapters : public MainWindowTest {
protected:
    void SetUp() override {
        const std::string network = "SYSTEM\\CurrentControlSet\\Control\\Network\\";
        ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, network + "{A}\\{1}\\Connection", "PnpInstanceID",
                                              kRegSz, std::string("TARVEXWIN\\DEV\\1") + '\0'));
        ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, network + "{A}\\{2}\\Connection", "PnpInstanceID",
                                              kRegSz, std::string("TARVEXWIN\\GONE\\2") + '\0'));
        ASSERT_EQ(kSuccess, SeedNetworkDevice(writer, "TARVEXWIN\\DEV\\1", "Zeta adapter", ""));
        const std::string interfaces = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
        ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, interfaces + "{1}", "EnableDHCP", kRegDword,
                                              std::string("\1\0\0\0", 4)));
        ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, interfaces + "{2}", "IPAddress", kRegMultiSz,
                                              std::string("192.168.7.7\0\0", 13)));
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        Win32Registry().SHDeleteKeyA(kLocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\TARVEXWIN");
    }
    std::wstring Cell(int row, int column) {
        wchar_t text[64] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(Control(kLV1Id), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return text;
    }

    Win32RegistryWriter writer;
};

TEST_F(MainWindowWithAdapters, ShowsAdapterAndDeviceAndSortsByThem) {
    Press(kCmdReadId);
    ASSERT_EQ((std::vector<std::string>{"beta", "Alpha", "gamma"}), Names());
    EXPECT_EQ((std::vector<std::wstring>{L"Present", L"No device", L""}),
              (std::vector<std::wstring>{Cell(0, 2), Cell(1, 2), Cell(2, 2)}));
    EXPECT_EQ((std::vector<std::wstring>{L"Zeta adapter", L"", L""}),
              (std::vector<std::wstring>{Cell(0, 3), Cell(1, 3), Cell(2, 3)}));

    ClickHeader(2);  // "Adapter": descending from the initial ascending
    EXPECT_EQ((std::vector<std::string>{"beta", "Alpha", "gamma"}), Names());
    ClickHeader(2);  // ascending
    EXPECT_EQ((std::vector<std::string>{"gamma", "Alpha", "beta"}), Names());
    ClickHeader(3);  // "Device": descending; equal cells keep the scan's order
    EXPECT_EQ((std::vector<std::string>{"beta", "Alpha", "gamma"}), Names());

    EXPECT_EQ((std::vector<std::wstring>{L"DHCP", L"192.168.7.7", L""}),
              (std::vector<std::wstring>{Cell(0, 5), Cell(1, 5), Cell(2, 5)}));
    SetClientSize(900, 462);  // the sixth header in view
    ClickHeader(5);  // "IPv4": ascending, by its text
    EXPECT_EQ((std::vector<std::string>{"gamma", "Alpha", "beta"}), Names());
}

// The list view's own tips unfold only the first column: a cut cell of any
// other column is found by a hit test of the window's own and shown whole.
TEST_F(MainWindowWithAdapters, CutCellOfAnyColumnShowsWholeInATip) {
    const std::wstring longName = L"Intel(R) Ethernet Connection (7) I219-LM, the dock's";
    ASSERT_EQ(kSuccess, SeedNetworkDevice(writer, "TARVEXWIN\\DEV\\1", "Zeta adapter", WideToUtf8(longName)));
    Press(kCmdReadId);
    ASSERT_EQ("beta", Names()[0]);
    HWND list = Control(kLV1Id);
    const auto middleOf = [&](int column) {
        RECT cell{};
        cell.top = column;
        cell.left = LVIR_BOUNDS;
        SendMessageW(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
        return POINT{column == 0 ? cell.left + 40 : (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    };
    EXPECT_EQ(longName, CutCellText(list, middleOf(3)).value_or(L"(none)"));
    EXPECT_FALSE(CutCellText(list, middleOf(2))) << "Present fits its column";
    EXPECT_FALSE(CutCellText(list, middleOf(0))) << "the first column's tip is the list view's";

    // The window's own tip, not the one the list view keeps for its labels.
    HWND tip = nullptr;
    while ((tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) != nullptr &&
           GetWindow(tip, GW_OWNER) != window.hwnd()) {
    }
    ASSERT_NE(nullptr, tip);
    POINT pointer = middleOf(3);
    ClientToScreen(list, &pointer);
    SetCursorPos(pointer.x, pointer.y);
    NMTTDISPINFOW asked{};
    asked.hdr = {tip, 0, TTN_GETDISPINFOW};
    SendMessageW(window.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&asked));
    ASSERT_NE(nullptr, asked.lpszText);
    EXPECT_EQ(longName, std::wstring(asked.lpszText));
}

// Every Windows lists network devices; a prefix without any lists none, and
// the window says why its device columns are empty, in a box of its own.
TEST_F(MainWindowTest, NoDeviceListedIsToldInAWarningBox) {
    ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Network\\{A}\\{1}\\Connection",
                                          "PnpInstanceID", kRegSz, std::string("PCI\\NIC\\1") + '\0'));
    const std::string miniport = "SYSTEM\\CurrentControlSet\\Enum\\ROOT\\MS_PPTPMINIPORT";
    ASSERT_EQ(kSuccess, Win32Registry().SHDeleteKeyA(kLocalMachine, miniport));
    const bool noneLeft = SetupApiDevices().KnownDevices().devices.empty();
    MessageBoxRobot robot({IDOK});
    if (noneLeft) Press(kCmdReadId);
    Win32RegistryWriter writer;
    ASSERT_EQ(kSuccess, SeedWanMiniport(writer));
    ASSERT_TRUE(noneLeft) << "another network device is seeded in the prefix";

    EXPECT_EQ(3, LV1.RowCount());
    ASSERT_EQ(1u, robot.seen().size());
    const SeenBox& box = robot.seen()[0];
    EXPECT_EQ(L"Tarvex Manager", box.title);
    EXPECT_EQ(0u, box.text.find(Utf8ToWide(std::string(kDevicesNotListedText) + "SetupDiEnumDeviceInfo failed with error 259")))
        << WideToUtf8(box.text);
    EXPECT_EQ(LoadIconW(nullptr, IDI_WARNING), box.icon);
    EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
}

// Rows change, the header does not: repainting it on every refill costs a
// themed draw of each column for nothing.
TEST_F(MainWindowTest, RefillingTheListLeavesItsHeaderUntouched) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(Control(kLV1Id), LVM_GETHEADER, 0, 0));
    ASSERT_NE(nullptr, header);
    UpdateWindow(header);
    SendMessageW(Control(kCmdReadId), BM_CLICK, 0, 0);  // no pump: what the refill left to paint
    EXPECT_TRUE(GetUpdateRect(Control(kLV1Id), nullptr, FALSE)) << "the rows are repainted";
    EXPECT_FALSE(GetUpdateRect(header, nullptr, FALSE)) << "the header is not";
    Pump();
}

TEST_F(MainWindowTest, CtrlASelectsEveryRow) {
    Press(kCmdReadId);
    SetFocus(Control(kLV1Id));
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE before = keys[VK_CONTROL];
    SendMessageW(Control(kLV1Id), WM_KEYDOWN, 'A', 0);
    Pump();
    EXPECT_FALSE(LV1.IsSelected(1)) << "A alone selects nothing";
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(Control(kLV1Id), WM_KEYDOWN, 'A', 0);
    keys[VK_CONTROL] = before;
    SetKeyboardState(keys);
    Pump();
    for (int row = 0; row < 3; ++row) EXPECT_TRUE(LV1.IsSelected(row)) << row;
}

TEST_F(MainWindowTest, RightButtonReleaseTogglesSelectedRows) {
    Press(kCmdReadId);
    HWND list = Control(kLV1Id);
    LV1.SetChecked(0, true);
    for (int row : {0, 2}) {
        LVITEMW item{};
        item.stateMask = item.state = LVIS_SELECTED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    RECT rowRect{LVIR_BOUNDS};
    SendMessageW(list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rowRect));
    LPARAM point = MAKELPARAM(rowRect.left + 60, (rowRect.top + rowRect.bottom) / 2);
    PostMessageW(list, WM_RBUTTONUP, 0, point);
    SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, point);
    Pump();
    EXPECT_FALSE(LV1.IsChecked(0));
    EXPECT_FALSE(LV1.IsChecked(1));
    EXPECT_FALSE(LV1.IsChecked(2));
    EXPECT_TRUE(LV1.IsSelected(0));
    EXPECT_TRUE(LV1.IsSelected(2));
}

struct ShownBox {
    std::wstring title;
    std::wstring text;
};
ShownBox shownBox;

void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowW(L"#32770", nullptr);
    if (box == nullptr) return;
    KillTimer(nullptr, timer);
    shownBox.title = TextOf(box);
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    shownBox.text = text;
    SendMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(MainWindowTest, UntrappedErrorShowsOneTitledBoxThenEnds) {
    DestroyWindow(Control(kLV1Id));  // the list control now refuses every operation
    SetTimer(nullptr, 0, 100, &CloseMessageBox);
    Press(kCmdReadId);
    EXPECT_EQ(L"Tarvex Manager", shownBox.title);
    EXPECT_EQ(0u, shownBox.text.rfind(L"Run-time error '1400':\n\n", 0)) << std::string(shownBox.text.begin(), shownBox.text.end());
    EXPECT_GT(shownBox.text.size(), std::wstring(L"Run-time error '1400':\n\n").size());
    EXPECT_EQ(std::vector<int>{kUntrappedErrorExitCode}, exit.codes);
}

// Every operation writes under HKEY_LOCAL_MACHINE; without elevation the list would stay empty.
TEST(ProgramResources, ManifestAsksForElevationAndCommonControls6) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_NE(nullptr, found);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    std::string manifest(bytes, SizeofResource(nullptr, found));
    EXPECT_NE(std::string::npos, manifest.find("level=\"requireAdministrator\""));
    EXPECT_NE(std::string::npos, manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
}

std::string ResourceText(HMODULE module, LPCWSTR type) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), type);
    if (found == nullptr) return {};
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return std::string(bytes, SizeofResource(module, found));
}

// The version resource's fixed part: the four numbers, most significant first.
std::vector<unsigned> FixedFileVersion(const std::string& resource) {
    const std::string signature("\xBD\x04\xEF\xFE", 4);
    const std::size_t at = resource.find(signature);
    if (at == std::string::npos || at + 16 > resource.size()) return {};
    DWORD most = 0;
    DWORD least = 0;
    std::memcpy(&most, resource.data() + at + 8, 4);
    std::memcpy(&least, resource.data() + at + 12, 4);
    return {HIWORD(most), LOWORD(most), HIWORD(least), LOWORD(least)};
}

std::string Utf16(const std::string& ascii) {
    std::string wide;
    for (char c : ascii) wide += std::string{c, '\0'};
    return wide;
}

// One version, the project's: in both programs' version resources (numbers
// and texts) and manifests alike.
TEST(ProgramResources, BothProgramsCarryTheProjectsVersion) {
    const std::vector<unsigned> numbers = {TARVEX_VERSION_NUMBERS};
    for (const char* program : {TARVEX_MANAGER_EXE, TARVEX_EXE}) {
        HMODULE module = LoadLibraryExW(FromUnixPath(program).c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(nullptr, module) << program;
        const std::string version = ResourceText(module, MAKEINTRESOURCEW(16));  // RT_VERSION
        EXPECT_EQ(numbers, FixedFileVersion(version)) << program;
        EXPECT_NE(std::string::npos, version.find(Utf16("FileVersion") + std::string(2, '\0'))) << program;
        EXPECT_NE(std::string::npos, version.find(Utf16(TARVEX_VERSION_FOUR))) << program;
        const std::string manifest = ResourceText(module, MAKEINTRESOURCEW(24));  // RT_MANIFEST
        EXPECT_NE(std::string::npos, manifest.find(std::string("version=\"") + TARVEX_VERSION_FOUR + "\" processorArchitecture"))
            << program;
        FreeLibrary(module);
    }
}

// Both shipped programs: any architecture's build starts, on Windows 7 and later.
TEST(ProgramResources, BothProgramsCarryIconVersionAndAManifestForAnyArchitectureFromWindows7On) {
    const std::pair<const char*, const char*> programs[] = {{TARVEX_MANAGER_EXE, "requireAdministrator"},
                                                            {TARVEX_EXE, "asInvoker"}};
    for (const auto& [program, level] : programs) {
        HMODULE module = LoadLibraryExW(FromUnixPath(program).c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(nullptr, module) << program;
        std::string manifest = ResourceText(module, MAKEINTRESOURCEW(24));  // RT_MANIFEST
        std::string identity = manifest.substr(manifest.find("<assemblyIdentity"));
        identity.resize(identity.find("/>"));
        EXPECT_NE(std::string::npos, identity.find("processorArchitecture=\"*\"")) << identity;
        EXPECT_NE(std::string::npos, manifest.find(std::string("level=\"") + level + "\"")) << program;
        for (const char* system : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                                   "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
            EXPECT_NE(std::string::npos, manifest.find(std::string("<supportedOS Id=\"") + system + "\"/>")) << system;
        }
        EXPECT_NE(nullptr, FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)));  // RT_GROUP_ICON
        EXPECT_FALSE(ResourceText(module, MAKEINTRESOURCEW(16)).empty()) << "version resource";  // RT_VERSION
        FreeLibrary(module);
    }
}

// Refuses every push button and check box the window tries to create.
LRESULT CALLBACK RefuseButtons(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const wchar_t* className = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->lpszClass;
        // With common controls 6 the class name carries its version: "6.0...!Button".
        if (!IS_INTRESOURCE(className)) {
            std::wstring name = className;
            if (name.size() >= 6 && lstrcmpiW(name.c_str() + name.size() - 6, L"Button") == 0) return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The failure happens inside WM_CREATE, where no exception may cross the window system.
TEST(MainWindowCreation, ControlThatCannotBeCreatedFailsTheCreationWithItsError) {
    HHOOK hook = SetWindowsHookExW(WH_CBT, &RefuseButtons, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    MemoryRegistry registry;
    RecordingExit exit;
    AssembledWindow assembled(registry, registry, exit);
    MainWindow& window = assembled.window;
    EXPECT_THROW(window.Create(), AppError);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(nullptr, window.hwnd());
    EXPECT_EQ(nullptr, FindWindowW(L"TarvexManagerForm1", nullptr));
    Pump();
}

}  // namespace
}  // namespace tarvex
