#pragma once

#include "app/form1.h"
#include "export/memory_files.h"
#include "fake_connection_list.h"
#include "recording_platform.h"
#include "registry/memory_registry.h"

#include <functional>
#include <string>
#include <vector>

namespace tarvex {

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

class FixedLayout final : public FormLayout {
public:
    bool IsMinimised() const override { return false; }
    float ClientWidth() const override { return 8385; }
    float ClientHeight() const override { return 6570; }
    float ListLeft() const override { return 120; }
    float ListTop() const override { return 840; }
    bool SetListWidth(float) override { return true; }
    bool SetListHeight(float) override { return true; }
};

class FakeChecks final : public BackupChoices {
public:
    bool chkBackup() const override { return backupAll; }
    bool chkSelective() const override { return backupSelected; }
    bool backupAll = false;
    bool backupSelected = true;
};

class RecordingClipboard final : public Clipboard {
public:
    void SetText(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

class StillPointer final : public MousePointer {
public:
    int Current() const override { return current; }
    void Set(int pointer) override { current = pointer; }
    int current = kDefaultPointer;
};

inline constexpr char kProgramFolder[] = "C:\\Tarvex\\";

// Form1 over fakes of every control and platform service.
template <typename List = FakeConnectionList>
struct Form1Harness {
    Form1Harness() { files.AddFolder(kProgramFolder); }

    MemoryRegistry registry;
    List list;
    FixedLayout layout;
    CountingPump pump;
    RecordingMessageBoxes messages;
    RecordingExit exit;
    FakeChecks checks;
    RecordingClipboard clipboard;
    MemoryFiles files;
    StillPointer pointer;
    Form1 form{registry, {list, layout, pump, messages, exit, checks, clipboard, files, pointer}};
};

}  // namespace tarvex
