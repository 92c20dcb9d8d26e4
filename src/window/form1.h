#pragma once

#include "core/backup_choices.h"
#include "core/clock.h"
#include "core/device_query.h"
#include "export/backup_files.h"
#include "export/mouse_pointer.h"
#include "registry/export_registry.h"
#include "util/encoded_text.h"
#include "window/clipboard.h"
#include "window/connection_list.h"
#include "window/event_pump.h"
#include "window/form_closer.h"
#include "window/form_layout.h"
#include "window/message_boxes.h"
#include "window/untrapped_error.h"

#include <functional>
#include <string>

namespace tarvex {

// What the workflow needs of the window's controls and of the platform.
struct Form1Controls {
    ConnectionList& LV1;
    FormLayout& layout;
    EventPump& pump;
    MessageBoxes& messages;
    ProgramExit& exit;
    BackupChoices& checks;
    Clipboard& clipboard;
    BackupFiles& files;
    MousePointer& pointer;
    FormCloser& closer;
    DeviceQuery& devices;
    Clock& clock;
};

// The main window's behaviour, one member per event; the Win32 window only
// forwards its events here.
class Form1 {
public:
    Form1(ExportRegistry& registry, Form1Controls controls) : registry_(registry), controls_(controls) {}

    void Load(const Utf8Text& executableFolder);
    void Resize();
    void cmdReadClick();
    void comDelClick();
    void cmdCopyClick();
    void LV1ColumnClick(int column);
    void LV1MouseUp(int button);
    // The user asks to close the window: true when it may close now. A
    // button's operation that runs finishes first, then the window closes.
    bool QueryUnload();

    const Utf8Text& AppFolder() const { return appFolder_; }

private:
    // The three buttons' operations: none starts while one of them runs.
    void RunButton(const std::function<void()>& operation);
    void Run(const std::function<void()>& operation);

    ExportRegistry& registry_;
    Form1Controls controls_;
    Utf8Text appFolder_;
    bool buttonRunning_ = false;
    bool closeRequested_ = false;
};

}  // namespace tarvex
