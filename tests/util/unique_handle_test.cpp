#include "util/unique_handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarvex {
namespace {

// Closes by recording; handle 13 refuses to close.
struct RecordingCloser {
    using Handle = int;
    static Handle None() { return 0; }
    static constexpr bool kNothingHeld = true;
    bool operator()(Handle handle) const {
        closed->push_back(handle);
        return handle != 13;
    }
    std::vector<int>* closed = nullptr;
};

using Owner = UniqueHandle<RecordingCloser>;

class UniqueHandleTest : public ::testing::Test {
protected:
    Owner Make(int handle) { return Owner(handle, RecordingCloser{&closed}); }
    std::vector<int> closed;
};

TEST_F(UniqueHandleTest, ClosesOnceWhenItGoesAndNothingWhenEmpty) {
    { Owner held = Make(7); }
    { Owner empty(RecordingCloser{&closed}); }
    EXPECT_EQ(std::vector<int>{7}, closed);
}

TEST_F(UniqueHandleTest, PutClosesWhatWasHeldBeforeHandingOutTheSlot) {
    Owner owner = Make(1);
    for (int next : {2, 3}) *owner.put() = next;
    EXPECT_EQ((std::vector<int>{1, 2}), closed);
    EXPECT_EQ(3, owner.get());
}

TEST_F(UniqueHandleTest, MovesHandOverOwnershipAndCloseAtTheNewOwner) {
    Owner first = Make(4);
    Owner second = std::move(first);
    EXPECT_FALSE(first.isOpen());
    Owner third = Make(5);
    third = std::move(second);
    EXPECT_EQ(std::vector<int>{5}, closed) << "the assigned-to owner closes what it held";
    third = std::move(third);
    EXPECT_EQ(4, third.get());
}

TEST_F(UniqueHandleTest, CloseGivesTheClosersAnswerAndReleaseDoesNotClose) {
    Owner refusing = Make(13);
    EXPECT_FALSE(refusing.Close());
    EXPECT_FALSE(refusing.isOpen());
    EXPECT_TRUE(refusing.Close()) << "nothing held is nothing to fail";
    Owner released = Make(9);
    EXPECT_EQ(9, released.release());
    EXPECT_EQ(std::vector<int>{13}, closed);
}

}  // namespace
}  // namespace tarvex
