#pragma once

#include "support/ascii_case_mapping.h"
#include "support/fake_connection_list.h"
#include "support/fake_devices.h"
#include "support/fake_event_log.h"
#include "support/fake_installer.h"
#include "support/fake_platform.h"
#include "support/fixed_clock.h"
#include "support/latin1_text.h"
#include "support/memory_files.h"
#include "support/memory_registry.h"
#include "window/form1.h"

#include <string>
#include <vector>

namespace tarvex {

class FixedLayout final : public FormLayout {
public:
    bool IsMinimised() const override { return false; }
    float ClientWidth() const override { return 8385; }
    float ClientHeight() const override { return 6930; }
    float ListLeft() const override { return 120; }
    float ListTop() const override { return 1200; }
    bool SetListWidth(float) override { return true; }
    bool SetListHeight(float) override { return true; }
};

class RecordingClipboard final : public Clipboard {
public:
    void SetText(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

class RecordingCloser final : public FormCloser {
public:
    void Close() override { ++closes; }
    int closes = 0;
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
    RecordingPointer pointer;
    RecordingCloser closer;
    FakeDevices devices;
    FakeInstaller installer;
    FixedClock clock;
    Latin1Codec codec;
    AsciiCaseMapping cases;
    FakeEventLog events;
    Services services{registry, registry, devices, installer, files, clock, codec, cases, &pointer, nullptr, &events};
    Form1 form{services, {list, layout, pump, messages, exit, checks, clipboard, closer}};
};

}  // namespace tarvex
