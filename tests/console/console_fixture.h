#pragma once

#include "console/console_program.h"
#include "core/exit_codes.h"
#include "core/last_seen.h"
#include "support/ascii_case_mapping.h"
#include "support/fake_devices.h"
#include "support/fake_event_log.h"
#include "support/fake_installer.h"
#include "support/fake_network_list.h"
#include "support/fixed_clock.h"
#include "support/latin1_text.h"
#include "support/memory_files.h"
#include "support/memory_registry.h"
#include "support/seed_connection.h"
#include "support/seed_successor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// In a namespace of its own: inline constants of the same name elsewhere would merge with these.
namespace tarvex::console_fixture {

using namespace std::string_literals;

// Standard output that may break: every write from failFrom on gives result.
class RecordingOutput final : public ConsoleOutput {
public:
    OutputWrite Out(const Utf8Text& text) override {
        if (writes++ >= failFrom) return {result, 232, "The pipe is being closed."};
        out += text;
        return {};
    }
    void Err(const Utf8Text& text) override { err += text; }
    std::string out;
    std::string err;
    int writes = 0;
    int failFrom = 1 << 30;
    WriteResult result = WriteResult::Failed;
};

inline const std::string kSet1 = "SYSTEM\\ControlSet001\\Control\\Network\\{C}\\";
inline const std::string kCurrent = "SYSTEM\\CurrentControlSet\\Control\\Network\\{C}\\";
inline const std::string kSet2 = "SYSTEM\\ControlSet002\\Control\\Network\\{C}\\";
inline constexpr char kFolder[] = "C:\\Tools\\";
inline constexpr FileTime kSeptember = 134'326'944'000'000'000;  // 2026-09-01T00:00:00Z, 98 days before the clock

// ControlSet001 holds {1} (adapter present), {2} (no device) and {3} (device
// not present, removed 2026-09-01); CurrentControlSet is a link to it, as on
// Windows, so each shows twice. ControlSet002 holds {4} (no device).
// Its members are open to the tables of cases that arrange them.
class ConsoleProgram : public ::testing::Test {
public:
    void SetUp() override {
        Connection(kSet1 + "{1}"s, "Ethernet", "PCI\\NIC\\1");
        Connection(kSet1 + "{2}"s, "Local Area Connection 2", "PCI\\GONE\\2");
        Connection(kSet1 + "{3}"s, "USB dongle", "USB\\DONGLE\\3");
        Connection(kSet2 + "{4}"s, "Caf\xE9", "PCI\\GONE\\4");
        registry.LinkKey(kLocalMachine, "SYSTEM\\CurrentControlSet", "SYSTEM\\ControlSet001");
        devices.present = {{"PCI\\NIC\\1", "Intel Ethernet"}};
        devices.phantoms = {{"USB\\DONGLE\\3", "ASIX USB", std::nullopt, kSeptember}};
        files.AddFolder(kFolder);
    }
    void Connection(const std::string& key, const std::string& name, const std::string& id) {
        ASSERT_EQ(kSuccess, SeedConnection(registry, key, name, id));
    }
    ExitCode Run(std::vector<std::string> arguments) {
        return static_cast<ExitCode>(RunConsole(arguments, services, output, "C:\\Tools"));
    }
    bool Exists(const std::string& key) const { return registry.KeyExists(kLocalMachine, key); }
    // {2}'s adapter is gone and leaves static settings; {5} "Ethernet 2", present, can take them.
    void StaticGhostAndSuccessor() {
        StaticGhost(registry);
        ASSERT_EQ(kSuccess, SeedPresentAdapter(registry, "{5}", "PCI\\NEW\\5", kNetClassDrivers + "0005"s, 0x84,
                                               "Ethernet 2", "ControlSet001"));
        devices.present.push_back({"PCI\\NEW\\5", "Intel I219-V"});
        devices.drivers["PCI\\NEW\\5"] = kNetClassDrivers + "0005"s;
        installer.pluggedIn.insert("PCI\\NEW\\5");
    }
    static void StaticGhost(MemoryRegistry& registry) {
        ASSERT_EQ(kSuccess, SeedIpSettings(registry, "ControlSet001", "{2}", "10.0.0.9"));
    }

    MemoryRegistry registry;
    FakeDevices devices;
    FakeInstaller installer;
    MemoryFiles files;
    RecordingOutput output;
    FixedClock clock;
    Latin1Codec codec;
    AsciiCaseMapping cases;
    FakeNetworkList networks;
    FakeEventLog events;
    Services services{registry, registry, devices, installer, files, clock, codec, cases, nullptr, &networks, &events};
};

// A fixture of its own for a second run of a table's case, arranged alike.
template <typename Fixture>
struct FreshFixture : Fixture {
    void TestBody() override {}
};

// The same run as a JSON case's, without its --format json, in a fixture of
// its own: each of lines is found among what it prints.
template <typename Fixture, typename Arrange>
void ExpectLinesWithoutJson(const Arrange& arrange, std::vector<std::string> arguments, ExitCode exit,
                            const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    FreshFixture<Fixture> again;
    again.SetUp();
    arrange(again);
    arguments.resize(arguments.size() - 2);
    EXPECT_EQ(exit, again.Run(arguments));
    const std::string printed = again.output.out + again.output.err;
    for (const std::string& line : lines) EXPECT_NE(std::string::npos, printed.find(line + "\r\n")) << printed;
}

}  // namespace tarvex::console_fixture
