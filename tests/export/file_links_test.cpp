#include "export/file_links.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

struct LinkCase {
    const char* what;
    FileLinks links;
    bool refused;
};

class BackupFileLinks : public ::testing::TestWithParam<LinkCase> {};

// Only a name that leads to another file is refused: a backup on a OneDrive
// or deduplicated volume must still be written.
TEST_P(BackupFileLinks, RefuseOnlyWhatLeadsToAnotherName) {
    EXPECT_EQ(GetParam().refused, LeadsToAnotherName(GetParam().links));
}

INSTANTIATE_TEST_SUITE_P(
    Tags, BackupFileLinks,
    ::testing::Values(LinkCase{"PlainFile", {true, false, 0, 1}, false},
                      LinkCase{"SymbolicLink", {true, true, 0xA000000C, 1}, true},
                      LinkCase{"MountPointOrJunction", {true, true, 0xA0000003, 1}, true},
                      LinkCase{"OneDrivePlaceholder", {true, true, 0x9000001A, 1}, false},
                      LinkCase{"Deduplicated", {true, true, 0x80000013, 1}, false},
                      LinkCase{"TagUnreadable", {true, true, 0, 1}, true},
                      LinkCase{"SecondHardLink", {true, false, 0, 2}, true},
                      LinkCase{"NothingKnown", {false, false, 0, 1}, true}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace tarvex
