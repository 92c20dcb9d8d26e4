#include "support/fake_platform.h"
#include "window/untrapped_error.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>

namespace tarvex {
namespace {

struct FailureCase {
    const char* title;
    std::function<void()> failure;
    std::string text;
};

class UntrappedFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(UntrappedFailure, ShowsOneBoxWithNumberAndTextThenExitsNonZero) {
    RecordingMessageBoxes messages;
    RecordingExit exit;
    RunEventOperation(GetParam().failure, messages, exit);

    ASSERT_EQ(1u, messages.shown.size());
    EXPECT_EQ(GetParam().text, messages.shown[0].text);
    EXPECT_EQ(MessageButtons::Ok, messages.shown[0].buttons);
    EXPECT_EQ(MessageIcon::Critical, messages.shown[0].icon);
    ASSERT_EQ(1u, exit.codes.size());
    EXPECT_NE(0, exit.codes[0]);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, UntrappedFailure,
    ::testing::Values(
        FailureCase{"PlatformError", [] { throw AppError(1400, "Invalid window handle."); },
                    "Run-time error '1400':\n\nInvalid window handle."},
        FailureCase{"OutOfMemory", [] { throw std::bad_alloc(); }, "Run-time error '7':\n\nOut of memory"},
        FailureCase{"InvalidArgument", [] { throw std::invalid_argument("width"); },
                    "Run-time error '5':\n\nInvalid procedure call or argument: width"},
        FailureCase{"OtherException", [] { throw std::runtime_error("boom"); },
                    "Run-time error '51':\n\nInternal error: boom"},
        FailureCase{"NotAnException", [] { throw 42; }, "Run-time error '51':\n\nInternal error"}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(UntrappedFailure, SuccessShowsNothingAndKeepsRunning) {
    RecordingMessageBoxes messages;
    RecordingExit exit;
    bool ran = false;
    RunEventOperation([&] { ran = true; }, messages, exit);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(exit.codes.empty());
}

}  // namespace
}  // namespace tarvex
