#include "util/write_all.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvex {
namespace {

// A stream that takes at most accepts units a call, and fails at call failAt.
struct ShortStream {
    std::size_t accepts;
    int failAt = -1;
    bool takesNothing = false;
    bool overstates = false;  // reports one unit more than it was given
    std::u16string received;
    std::vector<std::size_t> offered;

    bool operator()(const char16_t* data, std::size_t count, std::size_t& written) {
        offered.push_back(count);
        if (static_cast<int>(offered.size()) - 1 == failAt) return false;
        written = takesNothing ? 0 : std::min(count, accepts);
        received.append(data, written);
        if (overstates) written = count + 1;
        return true;
    }
};

TEST(WriteAll, GoesOnFromWhereEachShortWriteStopped) {
    const std::u16string text(20000, u'x');
    ShortStream stream{1000};
    EXPECT_TRUE(WriteAll(text.data(), text.size(), 8192, std::ref(stream)));
    EXPECT_EQ(text, stream.received);
    EXPECT_EQ(20u, stream.offered.size());
    ShortStream wide{100000};
    EXPECT_TRUE(WriteAll(text.data(), text.size(), 8192, std::ref(wide)));
    EXPECT_EQ((std::vector<std::size_t>{8192, 8192, 3616}), wide.offered) << "no piece over the largest";
}

TEST(WriteAll, AFailedOrEmptyWriteEndsTheLoopWithFalse) {
    const std::u16string text(20000, u'x');
    ShortStream failing{8192, 1};
    EXPECT_FALSE(WriteAll(text.data(), text.size(), 8192, std::ref(failing)));
    EXPECT_EQ(2u, failing.offered.size());
    ShortStream stuck{8192, -1, true};
    EXPECT_FALSE(WriteAll(text.data(), text.size(), 8192, std::ref(stuck)));
    EXPECT_EQ(1u, stuck.offered.size());
    // Believed, it would move the data pointer past the piece and past the text.
    ShortStream overstating{8192};
    overstating.overstates = true;
    EXPECT_FALSE(WriteAll(text.data(), 100, 8192, std::ref(overstating)));
    EXPECT_EQ(1u, overstating.offered.size());
}

}  // namespace
}  // namespace tarvex
