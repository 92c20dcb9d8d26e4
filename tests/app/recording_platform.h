#pragma once

#include "app/message_boxes.h"
#include "app/untrapped_error.h"

#include <string>
#include <vector>

namespace tarvex {

struct ShownMessage {
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
};

class RecordingMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer Show(const std::string& text, MessageIcon icon, MessageButtons buttons) override {
        shown.push_back({text, icon, buttons});
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }
    std::vector<ShownMessage> shown;
};

class RecordingExit final : public ProgramExit {
public:
    void Exit(int code) override { codes.push_back(code); }
    std::vector<int> codes;
};

}  // namespace tarvex
