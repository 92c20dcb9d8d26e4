#pragma once

#include "export/backup_error.h"
#include "export/mod_export.h"
#include "support/fake_platform.h"
#include "support/memory_files.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvex {

inline constexpr char kFolder[] = "C:\\Tarvex\\";
inline constexpr char kFile[] = "C:\\Tarvex\\Backup.reg";

// A registry, a program folder and a pointer; BackupError starts false.
class ExportFixture : public ::testing::Test {
protected:
    explicit ExportFixture(ValueOrder order = ValueOrder::Sorted) : registry_(order) {
        files_.AddFolder(kFolder);
        BackupError = false;
    }

    void Key(const std::string& path) { ASSERT_EQ(kSuccess, registry_.CreateKey(kLocalMachine, path)); }
    void Value(const std::string& path, const std::string& name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(kSuccess, registry_.SetValue(kLocalMachine, path, name, type, bytes));
    }
    void Export(const std::string& path, bool recurse = true, bool append = false,
                const std::string& file = kFile) {
        ExportKey(platform_, kLocalMachine, path, file, recurse, append);
    }
    std::string File() const { return files_.Content(kFile).value_or("<missing>"); }

    MemoryRegistry registry_;
    MemoryFiles files_;
    RecordingPointer pointer_;
    ExportPlatform platform_{registry_, files_, &pointer_};
};

}  // namespace tarvex
