#pragma once

#include "win32/cell_tips.h"
#include "win32/dpi_functions.h"
#include "win32/list_view.h"
#include "win32/message_box.h"
#include "win32/unique_handles.h"
#include "win32/win32_clipboard.h"
#include "win32/win32_event_pump.h"
#include "win32/win32_mouse_pointer.h"
#include "window/deletion_choices.h"
#include "window/form_closer.h"
#include "window/form_events.h"
#include "window/form_layout.h"

#include <windows.h>

#include <exception>

namespace tarvex {

// What the window gives the form: its controls, and the services that need it.
struct WindowControls {
    ConnectionList& list;
    FormLayout& layout;
    EventPump& pump;
    MessageBoxes& messages;
    DeletionChoices& checks;
    Clipboard& clipboard;
    MousePointer& pointer;
    FormCloser& closer;
};

// Form1's Win32 window: creates the controls as designed, keeps them at the
// monitor's DPI and forwards their events to the form attached to it.
class MainWindow final : public FormLayout, public DeletionChoices, public FormCloser {
public:
    explicit MainWindow(HINSTANCE instance, DpiFunctions dpiFunctions = DpiFunctions());
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow() override;

    WindowControls Controls();
    // The form receives every event from Create on.
    void Attach(FormEvents& events) { events_ = &events; }
    // Creates the window hidden, runs Load, sizes and centres it.
    void Create();
    void Show(int showCommand);

    HWND hwnd() const { return hwnd_; }
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

    bool IsMinimised() const override;
    float ClientWidth() const override;
    float ClientHeight() const override;
    float ListLeft() const override;
    float ListTop() const override;
    bool SetListWidth(float twips) override;
    bool SetListHeight(float twips) override;

    bool chkBackup() const override;
    bool chkSelective() const override;
    bool chkIpSettings() const override;
    bool chkUninstall() const override;

    void Close() override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void ApplyDpi();
    void OnNotify(const NMHDR& header);
    RECT ListRect() const;
    SIZE ClientSize() const;

    HINSTANCE instance_;
    DpiFunctions dpiFunctions_;
    HWND hwnd_ = nullptr;
    unsigned dpi_ = USER_DEFAULT_SCREEN_DPI;
    bool controlsReady_ = false;
    ListView list_;
    CellTips cellTips_;
    Win32MessageBoxes messages_;
    Win32EventPump pump_;
    Win32Clipboard clipboard_;
    Win32MousePointer pointer_;
    UniqueFont font_;
    std::exception_ptr createFailure_;
    FormEvents* events_ = nullptr;
};

}  // namespace tarvex
