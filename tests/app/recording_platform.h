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
        if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        if (yesNoAnswers.empty()) return MessageAnswer::Yes;
        MessageAnswer answer = yesNoAnswers.front();
        yesNoAnswers.erase(yesNoAnswers.begin());
        return answer;
    }
    std::vector<ShownMessage> shown;
    std::vector<MessageAnswer> yesNoAnswers;  // given in turn to Yes/No boxes; Yes once they run out
};

class RecordingExit final : public ProgramExit {
public:
    void Exit(int code) override { codes.push_back(code); }
    std::vector<int> codes;
};

}  // namespace tarvex
