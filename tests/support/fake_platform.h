#pragma once

#include "export/mouse_pointer.h"
#include "window/deletion_choices.h"
#include "window/event_pump.h"
#include "window/message_boxes.h"
#include "window/untrapped_error.h"

#include <functional>
#include <string>
#include <vector>

namespace tarvex {

// Stand-ins for the window's services, shared by the tests and the benchmarks.

struct ShownMessage {
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
};

class RecordingMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer Show(const std::string& text, MessageIcon icon, MessageButtons buttons) override {
        shown.push_back({text, icon, buttons});
        if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        if (whileAsked) whileAsked();
        // Unanswered, a No-default question is answered as its default would be.
        if (yesNoAnswers.empty() && buttons == MessageButtons::YesNoDefaultNo) return MessageAnswer::No;
        if (yesNoAnswers.empty()) return MessageAnswer::Yes;
        MessageAnswer answer = yesNoAnswers.front();
        yesNoAnswers.erase(yesNoAnswers.begin());
        return answer;
    }
    std::vector<ShownMessage> shown;
    std::vector<MessageAnswer> yesNoAnswers;  // given in turn to Yes/No boxes; Yes once they run out
    std::function<void()> whileAsked;         // what happens while a question waits
};

class RecordingExit final : public ProgramExit {
public:
    void Exit(int code) override { codes.push_back(code); }
    std::vector<int> codes;
};

// Counts event passes; during stands for the events waiting at a pass.
class CountingPump final : public EventPump {
public:
    void DoEvents() override {
        ++passes;
        if (during) during();
    }
    int passes = 0;
    std::function<void()> during;
};

class RecordingPointer final : public MousePointer {
public:
    int Current() const override { return current; }
    void Set(int pointer) override {
        current = pointer;
        history.push_back(pointer);
    }
    int current = kDefaultPointer;
    std::vector<int> history;
};

// The deletion's check boxes as first shown: only "Backup ONLY" ticked.
class FakeChecks final : public DeletionChoices {
public:
    bool chkBackup() const override { return backupAll; }
    bool chkSelective() const override { return backupSelected; }
    bool chkIpSettings() const override { return ipSettings; }
    bool chkUninstall() const override { return uninstall; }
    bool backupAll = false;
    bool backupSelected = true;
    bool ipSettings = false;
    bool uninstall = false;
};

}  // namespace tarvex
