#include "registry/mod_reg.h"
#include "registry/registry_64_view.h"
#include "registry/unique_key.h"
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

TEST(Registry64View, OpensWideInThe64BitViewToo) {
    MemoryRegistry registry;
    ASSERT_EQ(kSuccess, registry.CreateKey(kLocalMachine, "SOFTWARE\\NetworkList"));
    Registry64View view(registry);
    UniqueKey key(view);
    EXPECT_EQ(kSuccess, key.Open(kLocalMachine, WideText(u"SOFTWARE\\NetworkList"), kKeyRead));
    EXPECT_EQ(1, registry.CallCount(RegistryCall::OpenKeyW));
    EXPECT_EQ(kKeyRead | kKeyWow64_64Key, registry.OpenedAccess().back());
}

}  // namespace
}  // namespace tarvex
