#include "core/app_folder.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

struct FolderCase {
    std::string reported;
    std::string appFolder;
};

class AppFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(AppFolderTest, EndsInExactlyOneBackslash) { EXPECT_EQ(GetParam().appFolder, MakeAppFolder(GetParam().reported)); }

INSTANTIATE_TEST_SUITE_P(Folders, AppFolderTest,
                         ::testing::Values(FolderCase{"C:\\Tools\\Tarvex", "C:\\Tools\\Tarvex\\"},
                                           FolderCase{"C:\\", "C:\\"},
                                           FolderCase{"\\\\server\\share\\tools", "\\\\server\\share\\tools\\"},
                                           FolderCase{"D:\\Tarvex Manager (x64)", "D:\\Tarvex Manager (x64)\\"}));

}  // namespace
}  // namespace tarvex
