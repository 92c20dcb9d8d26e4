#include "registry/mod_reg.h"
#include "registry/registry_64_view.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

// A 32-bit build would read and delete the network list's keys in its own
// view without the flag: every open asks for the 64-bit one, a deletion
// through a parent opened so.
TEST(Registry64View, OpensEveryKeyInThe64BitViewAndDeletesThroughItsParent) {
    MemoryRegistry registry;
    const std::string profile = "SOFTWARE\\NetworkList\\Profiles\\{A}";
    ASSERT_EQ(kSuccess, registry.SetValue(kLocalMachine, profile + "\\Sub", "v", kRegSz, std::string("x\0", 2)));
    Registry64View view(registry);
    AnsiText text;
    EXPECT_TRUE(ReadValue(view, kLocalMachine, profile + "\\Sub", "v", text));
    EXPECT_EQ(kSuccess, DeleteKey(view, kLocalMachine, profile));
    EXPECT_FALSE(registry.KeyExists(kLocalMachine, profile));
    EXPECT_TRUE(registry.KeyExists(kLocalMachine, "SOFTWARE\\NetworkList\\Profiles"));
    ASSERT_FALSE(registry.OpenedAccess().empty());
    for (std::uint32_t access : registry.OpenedAccess()) EXPECT_EQ(kKeyWow64_64Key, access & kKeyWow64_64Key);
    EXPECT_EQ("SOFTWARE\\NetworkList\\Profiles", registry.OpenedPaths().back()) << "deleted from its parent";
}

}  // namespace
}  // namespace tarvex
