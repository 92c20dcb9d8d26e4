#include "win32/cell_tips.h"

#include <commctrl.h>
#include <windowsx.h>

namespace tarvex {

namespace {

// The list view draws a cell's text this far in from each of its edges.
constexpr int kCellMargin = 6;
constexpr int kLongestCell = 1024;

}  // namespace

std::optional<std::wstring> CutCellText(HWND list, POINT point) {
    LVHITTESTINFO hit{};
    hit.pt = point;
    if (SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 || hit.iItem < 0 ||
        hit.iSubItem <= 0) {
        return std::nullopt;
    }
    wchar_t text[kLongestCell] = {};
    LVITEMW cell{};
    cell.iSubItem = hit.iSubItem;
    cell.pszText = text;
    cell.cchTextMax = kLongestCell;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(hit.iItem), reinterpret_cast<LPARAM>(&cell));
    if (text[0] == L'\0') return std::nullopt;
    const auto width = static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
    const auto column = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(hit.iSubItem), 0));
    if (width + 2 * kCellMargin <= column) return std::nullopt;
    return std::wstring(text);
}

CellTips::~CellTips() {
    if (list_ != nullptr && IsWindow(list_)) {
        SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc_));
        SetWindowLongPtrW(list_, GWLP_USERDATA, 0);
    }
    if (tip_ != nullptr && IsWindow(tip_)) DestroyWindow(tip_);
}

void CellTips::Attach(HWND owner, HWND list) {
    list_ = list;
    // The list's user data, not a window property or the tip's own
    // subclass: each message would then cost a request of the window
    // server (in wine a round trip), and a list gets thousands.
    SetWindowLongPtrW(list_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    listProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CellTips::ListProc)));
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)), nullptr);
    if (tip_ == nullptr) return;  // the cells go without tips
    TTTOOLINFOW tool{sizeof(tool)};
    tool.uFlags = TTF_IDISHWND | TTF_TRANSPARENT;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(list_);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // Paths and names are long: one line as wide as the screen needs.
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN));
}

bool CellTips::Answer(NMHDR& header) {
    if (tip_ == nullptr || header.hwndFrom != tip_ || header.code != TTN_GETDISPINFOW) return false;
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(list_, &point);
    text_ = CutCellText(list_, point).value_or(std::wstring());
    reinterpret_cast<NMTTDISPINFOW&>(header).lpszText = text_.data();
    return true;
}

void CellTips::PointerAt(POINT point) {
    LVHITTESTINFO hit{};
    hit.pt = point;
    SendMessageW(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem == row_ && hit.iSubItem == column_) return;
    row_ = hit.iItem;
    column_ = hit.iSubItem;
    // Shown for the last cell: down, so that it asks afresh for this one.
    if (tip_ != nullptr) SendMessageW(tip_, TTM_POP, 0, 0);
}

LRESULT CALLBACK CellTips::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CellTips*>(GetWindowLongPtrW(list, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(list, message, wParam, lParam);
    const WNDPROC next = self->listProc_;
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && self->tip_ != nullptr) {
        if (message == WM_MOUSEMOVE) self->PointerAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        MSG relayed{list, message, wParam, lParam, 0, {}};
        SendMessageW(self->tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
        SetWindowLongPtrW(list, GWLP_USERDATA, 0);
        self->list_ = nullptr;
    }
    return CallWindowProcW(next, list, message, wParam, lParam);
}

}  // namespace tarvex
