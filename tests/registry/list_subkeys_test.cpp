#include "registry/mod_reg.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

struct RootCase {
    const char* name;
    RootKey root;
};

class RootNames : public ::testing::TestWithParam<RootCase> {};

TEST_P(RootNames, MapToTheirRootsInAnyCase) { EXPECT_EQ(GetParam().root, RootKeyFromName(GetParam().name)); }

INSTANTIATE_TEST_SUITE_P(
    Names, RootNames,
    ::testing::Values(RootCase{"hkcu", kCurrentUser}, RootCase{"HKLM", kLocalMachine}, RootCase{"HkLm", kLocalMachine},
                      RootCase{"HKU", kUsers}, RootCase{"hkdd", kDynData}, RootCase{"HKCC", kCurrentConfig},
                      RootCase{"hkcr", kClassesRoot}, RootCase{"HKEY_LOCAL_MACHINE", 0}, RootCase{"", 0},
                      RootCase{"HKPD", 0}, RootCase{"HKLM ", 0}));

class ListSubkeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(kSuccess, registry_.CreateKey(kLocalMachine, "SYSTEM\\Net\\{A}"));
        ASSERT_EQ(kSuccess, registry_.CreateKey(kLocalMachine, "SYSTEM\\Net\\{B}"));
        ASSERT_EQ(kSuccess, registry_.CreateKey(kLocalMachine, "SYSTEM\\Empty"));
    }
    MemoryRegistry registry_;
};

TEST_F(ListSubkeysTest, UnknownRootNameGives99AndOpensNothing) {
    std::string list = "kept";
    EXPECT_EQ(kUnknownRoot, ListSubkeys(registry_, "HKEY_LOCAL_MACHINE", "SYSTEM\\Net", list));
    EXPECT_EQ("kept", list);
    EXPECT_EQ(0, registry_.CallCount(RegistryCall::OpenKey));
}

TEST_F(ListSubkeysTest, ReadOnlyKeysAreStillListed) {
    registry_.SetRights(kLocalMachine, "SYSTEM\\Net", {true, false});
    std::string list;
    EXPECT_EQ(kSuccess, ListSubkeys(registry_, "HKLM", "SYSTEM\\Net", list));
    EXPECT_EQ(std::string("{A}\0{B}\0\0", 9), list);
}

TEST_F(ListSubkeysTest, AppendsToATextThatIsNotEmpty) {
    std::string list = "x";
    EXPECT_EQ(kSuccess, ListSubkeys(registry_, "HKLM", "SYSTEM\\Empty", list));
    EXPECT_EQ(std::string("x\0", 2), list);
}

TEST_F(ListSubkeysTest, AFailingEnumerationEndsTheListButNotTheCall) {
    registry_.InjectFault({RegistryCall::EnumKey, 1450, 1});
    std::string list;
    EXPECT_EQ(kSuccess, ListSubkeys(registry_, "HKLM", "SYSTEM\\Net", list));
    EXPECT_EQ(std::string("{A}\0\0", 5), list);
    EXPECT_EQ(0u, registry_.OpenHandleCount());
}

TEST_F(ListSubkeysTest, ReturnsTheCloseStatus) {
    registry_.InjectFault({RegistryCall::CloseKey, kInvalidHandle});
    std::string list;
    EXPECT_EQ(kInvalidHandle, ListSubkeys(registry_, "HKLM", "SYSTEM\\Net", list));
    EXPECT_EQ(std::string("{A}\0{B}\0\0", 9), list);
}

TEST_F(ListSubkeysTest, OpensForEnumerationOnly) {
    registry_.SetRights(kLocalMachine, "SYSTEM\\Net", {false, false});
    std::string list;
    EXPECT_EQ(kAccessDenied, ListSubkeys(registry_, "HKLM", "SYSTEM\\Net", list));
    EXPECT_EQ("", list);
}

}  // namespace
}  // namespace tarvex
