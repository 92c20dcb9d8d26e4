#pragma once

#include "app/backup_choices.h"
#include "app/event_pump.h"
#include "app/message_boxes.h"
#include "bench_registry.h"
#include "export/mouse_pointer.h"

#include <string>
#include <vector>

namespace tarvex {

// Every row ticked, as after selecting all and a right-button release.
class TickedList final : public NullList {
public:
    void RemoveAllRows() override { texts.clear(); }
    void AppendRow(const std::string& text, const std::string&) override { texts.push_back(text); }
    int RowCount() const override { return static_cast<int>(texts.size()); }
    std::string RowText(int row) const override { return texts[static_cast<std::size_t>(row)]; }
    bool IsChecked(int) const override { return true; }
    std::vector<std::string> texts;
};

class OnlySelective final : public BackupChoices {
public:
    bool chkBackup() const override { return false; }
    bool chkSelective() const override { return true; }
};

class AnswerYes final : public MessageBoxes {
public:
    MessageAnswer Show(const std::string&, MessageIcon, MessageButtons) override { return MessageAnswer::Yes; }
};

class NoEvents final : public EventPump {
public:
    void DoEvents() override {}
};

class StillPointer final : public MousePointer {
public:
    int Current() const override { return kDefaultPointer; }
    void Set(int) override {}
};

}  // namespace tarvex
