#include "registry/mod_reg.h"
#include "support/demo_registry.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

TEST(DemoRegistry, SeedsTheAwkwardCases) {
    MemoryRegistry registry;
    ASSERT_EQ(kSuccess, SeedDemoRegistry(registry));
    const std::string net = "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
    std::string text;
    EXPECT_TRUE(ReadValue(registry, kLocalMachine, net + "\\{C2A84F6E-1D3B-47C9-A5E2-9F0B6D8E3C17}\\Connection",
                          "Name", text));
    EXPECT_EQ("", text);
    EXPECT_FALSE(registry.KeyExists(kLocalMachine, net + "\\{7E4B1A3C-2D5F-4E86-9B07-C1D3F5A7E902}\\Connection"));
    EXPECT_TRUE(ReadValue(registry, kLocalMachine, "SYSTEM\\ControlSet002\\Control\\Network", "Config", text));
    EXPECT_GT(text.size(), 1024u * 3);
    EXPECT_FALSE(registry.KeyExists(kLocalMachine, "SYSTEM\\ControlSet003"));
}

}  // namespace
}  // namespace tarvex
