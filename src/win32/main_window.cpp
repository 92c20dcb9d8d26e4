#include "win32/main_window.h"

#include "win32/control_layout.h"
#include "win32/message_box.h"
#include "win32/platform_error.h"
#include "win32/program_folder.h"
#include "win32/system_dlls.h"
#include "win32/twips.h"
#include "win32/wide_text.h"

#include <commctrl.h>

#include <exception>
#include <utility>

namespace tarvex {

namespace {

constexpr wchar_t kWindowClass[] = L"TarvexManagerForm1";
constexpr int kIconResource = 1;
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// The Key column is narrow by design: a cell cut short shows its whole text
// in a tip, so the control set a row belongs to can be read.
constexpr DWORD kListExtendedStyle =
    LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP | LVS_EX_DOUBLEBUFFER;

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW existing{sizeof(existing)};
    if (GetClassInfoExW(instance, kWindowClass, &existing)) return;
    WNDCLASSEXW windowClass{sizeof(windowClass)};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    // Shared icons belong to the system: nothing to destroy.
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 32, 32, LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 16, 16, LR_SHARED));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&windowClass)) ThrowWindowFailure("The window class could not be registered");
}

HFONT CreateMessageFont(const DpiFunctions& dpiFunctions, unsigned dpi) {
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    if (!dpiFunctions.NonClientMetrics(metrics, dpi)) return nullptr;
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

void AddColumn(HWND list, int position, const wchar_t* header) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(header);
    column.iSubItem = position;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&column));
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, DpiFunctions dpiFunctions)
    : instance_(instance), dpiFunctions_(dpiFunctions) {}

WindowControls MainWindow::Controls() {
    return {list_, *this, pump_, messages_, *this, clipboard_, pointer_, *this};
}

MainWindow::~MainWindow() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void MainWindow::Create() {
    if (!LoadCommonControls()) ThrowWindowFailure("The common controls could not be loaded");
    RegisterWindowClass(instance_, &WindowProc);
    HWND created = CreateWindowExW(0, kWindowClass, Utf8ToWide(kProgramTitle).c_str(), kWindowStyle, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, this);
    if (createFailure_) std::rethrow_exception(std::exchange(createFailure_, nullptr));
    if (created == nullptr) ThrowWindowFailure("The main window could not be created");

    RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpi_), TwipsToPixels(kClientHeightTwips, dpi_)};
    dpiFunctions_.AdjustWindowRect(frame, kWindowStyle, dpi_);
    MONITORINFO monitor{sizeof(monitor)};
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::Show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    SetFocus(list_.hwnd());
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            // An exception cannot unwind through the window system's frames:
            // creation fails here and Create raises it once the system returns.
            try {
                dpi_ = dpiFunctions_.ForWindow(hwnd_);
                CreateControls();
                events_->Load(ExecutableFolder());
                return 0;
            } catch (...) {
                createFailure_ = std::current_exception();
                return -1;
            }
        case WM_SIZE:
            if (controlsReady_) events_->Resize();
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            ApplyDpi();
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                         suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return 0;
            switch (LOWORD(wParam)) {
                case kCmdReadId: events_->cmdReadClick(); break;
                case kComDelId: events_->comDelClick(); break;
                case kCmdCopyId: events_->cmdCopyClick(); break;
                default: break;
            }
            return 0;
        case WM_SETCURSOR:
            // The hourglass stays over the whole window while a backup runs.
            if (pointer_.ApplyCursor()) return TRUE;
            return DefWindowProcW(hwnd_, message, wParam, lParam);
        case WM_NOTIFY: {
            NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
            if (!cellTips_.Answer(header)) OnNotify(header);
            return 0;
        }
        case WM_CLOSE:
            if (events_->QueryUnload()) Close();
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            controlsReady_ = false;
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void MainWindow::OnNotify(const NMHDR& header) {
    if (header.idFrom != kLV1Id) return;
    switch (header.code) {
        case LVN_COLUMNCLICK:
            events_->LV1ColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem + 1);
            break;
        // The list view tracks the button itself and reports its release as a click.
        case NM_RCLICK: events_->LV1MouseUp(kRightButton); break;
        case NM_CLICK: events_->LV1MouseUp(kLeftButton); break;
        // Selects every row, so one right-button release can tick them all.
        case LVN_KEYDOWN:
            if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == 'A' && GetKeyState(VK_CONTROL) < 0) {
                list_.SelectAll();
            }
            break;
        default: break;
    }
}

void MainWindow::Close() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool MainWindow::chkBackup() const {
    return SendMessageW(Control(kChkBackupId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool MainWindow::chkSelective() const {
    return SendMessageW(Control(kChkSelectiveId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool MainWindow::chkIpSettings() const {
    return SendMessageW(Control(kChkIpSettingsId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool MainWindow::chkUninstall() const {
    return SendMessageW(Control(kChkUninstallId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::CreateControls() {
    for (const ControlDesign& design : kControlDesigns) {
        HWND control = CreateWindowExW(
            0, design.className, design.caption, WS_CHILD | WS_VISIBLE | design.style,
            TwipsToPixels(design.left, dpi_), TwipsToPixels(design.top, dpi_), TwipsToPixels(design.width, dpi_),
            TwipsToPixels(design.height, dpi_), hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)),
            instance_, nullptr);
        if (control == nullptr) ThrowWindowFailure("A control could not be created");
    }
    HWND list = Control(kLV1Id);
    list_.Attach(list);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, kListExtendedStyle, kListExtendedStyle);
    AddColumn(list, 0, L"Key");
    AddColumn(list, 1, L"Connection");
    AddColumn(list, 2, L"Adapter");
    AddColumn(list, 3, L"Device");
    AddColumn(list, kLastSeenColumn, L"Last seen");
    AddColumn(list, kIpv4Column, L"IPv4");
    cellTips_.Attach(hwnd_, list);
    SendMessageW(Control(kChkSelectiveId), BM_SETCHECK, BST_CHECKED, 0);
    ApplyDpi();
    messages_.SetOwner(hwnd_);
    clipboard_.SetOwner(hwnd_);
    pump_.SetDialogWindow(hwnd_);
    controlsReady_ = true;
}

// Places the band and the list's corner, and scales fonts and columns; the
// list's size follows from the resize rule.
void MainWindow::ApplyDpi() {
    // The old font goes only once no control uses it any more.
    UniqueFont font(CreateMessageFont(dpiFunctions_, dpi_));
    for (const ControlDesign& design : kControlDesigns) {
        HWND control = Control(design.id);
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (design.id == kLV1Id) flags |= SWP_NOSIZE;
        SetWindowPos(control, nullptr, TwipsToPixels(design.left, dpi_), TwipsToPixels(design.top, dpi_),
                     TwipsToPixels(design.width, dpi_), TwipsToPixels(design.height, dpi_), flags);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    font_ = std::move(font);
    HWND list = Control(kLV1Id);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, TwipsToPixels(kKeyColumnTwips, dpi_));
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, TwipsToPixels(kConnectionColumnTwips, dpi_));
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 2, TwipsToPixels(kAdapterColumnTwips, dpi_));
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 3, TwipsToPixels(kDeviceColumnTwips, dpi_));
    SendMessageW(list, LVM_SETCOLUMNWIDTH, kLastSeenColumn, TwipsToPixels(kLastSeenColumnTwips, dpi_));
    SendMessageW(list, LVM_SETCOLUMNWIDTH, kIpv4Column, TwipsToPixels(kIpv4ColumnTwips, dpi_));
}

RECT MainWindow::ListRect() const {
    RECT rect{};
    GetWindowRect(list_.hwnd(), &rect);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE MainWindow::ClientSize() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return {client.right - client.left, client.bottom - client.top};
}

bool MainWindow::IsMinimised() const { return IsIconic(hwnd_) != FALSE; }
float MainWindow::ClientWidth() const { return PixelsToTwips(ClientSize().cx, dpi_); }
float MainWindow::ClientHeight() const { return PixelsToTwips(ClientSize().cy, dpi_); }
float MainWindow::ListLeft() const { return PixelsToTwips(ListRect().left, dpi_); }
float MainWindow::ListTop() const { return PixelsToTwips(ListRect().top, dpi_); }

bool MainWindow::SetListWidth(float twips) {
    if (twips < 0) return false;
    RECT rect = ListRect();
    return SetWindowPos(list_.hwnd(), nullptr, 0, 0, TwipsToPixels(twips, dpi_), rect.bottom - rect.top,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

bool MainWindow::SetListHeight(float twips) {
    if (twips < 0) return false;
    RECT rect = ListRect();
    return SetWindowPos(list_.hwnd(), nullptr, 0, 0, rect.right - rect.left, TwipsToPixels(twips, dpi_),
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

}  // namespace tarvex
