#include "registry/mod_reg.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

constexpr const char* kConnection = "SYSTEM\\ControlSet001\\Control\\Network\\{C}\\{K}";

class DeleteKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(kSuccess, registry_.SetValue(kLocalMachine, std::string(kConnection) + "\\Connection", "Name",
                                               kRegSz, "Ethernet"));
    }
    MemoryRegistry registry_;
};

// A key that cannot be opened is left alone, with the same 0 as a deletion.
TEST_F(DeleteKeyTest, KeyThatCannotBeOpenedStaysAndGivesZero) {
    registry_.SetRights(kLocalMachine, kConnection, {true, false});
    EXPECT_EQ(kSuccess, DeleteKey(registry_, kLocalMachine, kConnection));
    EXPECT_TRUE(registry_.KeyExists(kLocalMachine, std::string(kConnection) + "\\Connection"));
    EXPECT_EQ(0, registry_.CallCount(RegistryCall::DeleteKey));
}

TEST_F(DeleteKeyTest, ReadOnlySubkeyMakesTheDeletionFail) {
    registry_.SetRights(kLocalMachine, std::string(kConnection) + "\\Connection", {true, false});
    EXPECT_EQ(kAccessDenied, DeleteKey(registry_, kLocalMachine, kConnection));
    EXPECT_TRUE(registry_.KeyExists(kLocalMachine, kConnection));
    EXPECT_EQ(0u, registry_.OpenHandleCount());
}

TEST_F(DeleteKeyTest, DeletesWhileItsOwnHandleIsOpenAndClosesIt) {
    EXPECT_EQ(kSuccess, DeleteKey(registry_, kLocalMachine, kConnection));
    EXPECT_FALSE(registry_.KeyExists(kLocalMachine, kConnection));
    EXPECT_TRUE(registry_.KeyExists(kLocalMachine, "SYSTEM\\ControlSet001\\Control\\Network\\{C}"));
    EXPECT_EQ(1, registry_.CallCount(RegistryCall::CloseKey));
    EXPECT_EQ(0u, registry_.OpenHandleCount());
}

TEST_F(DeleteKeyTest, MissingKeyGivesZeroAndDeletesNothing) {
    EXPECT_EQ(kSuccess, DeleteKey(registry_, kLocalMachine, std::string(kConnection) + "\\absent"));
    EXPECT_EQ(0, registry_.CallCount(RegistryCall::DeleteKey));
}

TEST_F(DeleteKeyTest, AFailedDeletionPassesItsStatusOn) {
    registry_.InjectFault({RegistryCall::DeleteKey, 1450});
    EXPECT_EQ(1450, DeleteKey(registry_, kLocalMachine, kConnection));
    EXPECT_TRUE(registry_.KeyExists(kLocalMachine, kConnection));
}

// What the deletion tells its caller beyond DeleteKey's 0: whether it could
// open the key at all, so a key seen deleted needs no second look.
TEST_F(DeleteKeyTest, TryDeleteKeyTellsAnUnopenedKeyFromADeletedOne) {
    const std::string missing = std::string(kConnection) + "\\absent";
    KeyDeletion deletion = TryDeleteKey(registry_, kLocalMachine, missing);
    EXPECT_FALSE(deletion.opened);
    EXPECT_EQ(kFileNotFound, deletion.status);

    registry_.SetRights(kLocalMachine, kConnection, {true, false});
    deletion = TryDeleteKey(registry_, kLocalMachine, kConnection);
    EXPECT_FALSE(deletion.opened);
    EXPECT_EQ(kAccessDenied, deletion.status);

    registry_.SetRights(kLocalMachine, kConnection, {true, true});
    deletion = TryDeleteKey(registry_, kLocalMachine, kConnection);
    EXPECT_TRUE(deletion.opened);
    EXPECT_EQ(kSuccess, deletion.status);
    EXPECT_FALSE(registry_.KeyExists(kLocalMachine, kConnection));
}

}  // namespace
}  // namespace tarvex
