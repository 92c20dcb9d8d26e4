#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tarvex {

// What a message box showed, read from its window.
struct SeenBox {
    std::wstring title;
    std::wstring text;
    HICON icon = nullptr;  // nullptr when the box has no icon
    std::vector<int> buttons;
    int defaultButton = 0;
};

// Answers the message boxes of this thread from a timer, pressing the given
// buttons in turn and recording what each box showed.
class MessageBoxRobot {
public:
    explicit MessageBoxRobot(std::vector<int> answers) : answers_(std::move(answers)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 50, &Tick);
    }
    MessageBoxRobot(const MessageBoxRobot&) = delete;
    MessageBoxRobot& operator=(const MessageBoxRobot&) = delete;
    ~MessageBoxRobot() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }

    const std::vector<SeenBox>& seen() const { return seen_; }

private:
    static BOOL CALLBACK ReadChild(HWND child, LPARAM into) {
        auto& box = *reinterpret_cast<SeenBox*>(into);
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        if (lstrcmpiW(className, L"Button") == 0) {
            box.buttons.push_back(GetDlgCtrlID(child));
            // The default button is the one drawn as such.
            if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                box.defaultButton = GetDlgCtrlID(child);
            }
        }
        if (lstrcmpiW(className, L"Static") == 0 && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            box.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        }
        return TRUE;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        MessageBoxRobot* self = current_;
        HWND box = FindWindowW(L"#32770", nullptr);
        if (self == nullptr || box == nullptr || box == self->answered_ || self->answers_.empty()) return;
        self->answered_ = box;  // not seen twice while it closes
        SeenBox seen;
        wchar_t text[512] = {};
        GetWindowTextW(box, text, 512);
        seen.title = text;
        GetDlgItemTextW(box, 0xFFFF, text, 512);
        seen.text = text;
        EnumChildWindows(box, &ReadChild, reinterpret_cast<LPARAM>(&seen));
        self->seen_.push_back(seen);
        int answer = self->answers_.front();
        self->answers_.erase(self->answers_.begin());
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
    }

    static inline MessageBoxRobot* current_ = nullptr;
    std::vector<int> answers_;
    std::vector<SeenBox> seen_;
    UINT_PTR timer_ = 0;
    HWND answered_ = nullptr;
};

}  // namespace tarvex
