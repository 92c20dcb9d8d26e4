#pragma once

#include "win32/dpi_functions.h"
#include "win32/list_view.h"
#include "win32/message_box.h"
#include "win32/setupapi_devices.h"
#include "win32/unique_handles.h"
#include "win32/win32_backup_files.h"
#include "win32/win32_clipboard.h"
#include "win32/win32_clock.h"
#include "win32/win32_event_pump.h"
#include "win32/win32_mouse_pointer.h"
#include "window/form1.h"
#include "window/form_layout.h"

#include <windows.h>

#include <exception>

namespace tarvex {

// Form1's Win32 window: creates the controls as designed, keeps them at the
// monitor's DPI and forwards their events to Form1.
class MainWindow final : public FormLayout, public BackupChoices, public FormCloser {
public:
    MainWindow(HINSTANCE instance, ExportRegistry& registry, ProgramExit& exit,
               DpiFunctions dpiFunctions = DpiFunctions());
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow() override;

    // Creates the window hidden, runs Load, sizes and centres it.
    void Create();
    void Show(int showCommand);

    HWND hwnd() const { return hwnd_; }
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
    ListView& LV1() { return list_; }
    Form1& form() { return form_; }
    unsigned Dpi() const { return dpi_; }

    bool IsMinimised() const override;
    float ClientWidth() const override;
    float ClientHeight() const override;
    float ListLeft() const override;
    float ListTop() const override;
    bool SetListWidth(float twips) override;
    bool SetListHeight(float twips) override;

    bool chkBackup() const override;
    bool chkSelective() const override;

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
    Win32MessageBoxes messages_;
    Win32EventPump pump_;
    Win32Clipboard clipboard_;
    Win32BackupFiles files_;
    Win32MousePointer pointer_;
    SetupApiDevices devices_;
    Win32Clock clock_;
    UniqueFont font_;
    std::exception_ptr createFailure_;
    Form1 form_;
};

}  // namespace tarvex
