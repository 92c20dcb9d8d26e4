#pragma once

#include "core/services.h"
#include "util/encoded_text.h"
#include "window/deletion_choices.h"
#include "window/clipboard.h"
#include "window/connection_list.h"
#include "window/event_pump.h"
#include "window/form_closer.h"
#include "window/form_events.h"
#include "window/form_layout.h"
#include "window/message_boxes.h"
#include "window/untrapped_error.h"

#include <functional>
#include <string>

namespace tarvex {

// What the workflow needs of the window: its controls, and what shows on it.
struct Form1Controls {
    ConnectionList& LV1;
    FormLayout& layout;
    EventPump& pump;
    MessageBoxes& messages;
    ProgramExit& exit;
    DeletionChoices& checks;
    Clipboard& clipboard;
    FormCloser& closer;
};

// The main window's behaviour, one member per event.
class Form1 final : public FormEvents {
public:
    // The services' pointer is the window's hourglass.
    Form1(const Services& services, Form1Controls controls) : services_(services), controls_(controls) {}

    void Load(const Utf8Text& executableFolder) override;
    void Resize() override;
    void cmdReadClick() override;
    void comDelClick() override;
    void cmdCopyClick() override;
    void LV1ColumnClick(int column) override;
    void LV1MouseUp(int button) override;
    // A button's operation that runs finishes first, then the window closes.
    bool QueryUnload() override;

private:
    // The three buttons' operations: none starts while one of them runs.
    void RunButton(const std::function<void()>& operation);
    void Run(const std::function<void()>& operation);

    Services services_;
    Form1Controls controls_;
    Utf8Text appFolder_;
    bool buttonRunning_ = false;
    bool closeRequested_ = false;
};

}  // namespace tarvex
