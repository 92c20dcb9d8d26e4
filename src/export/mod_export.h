#pragma once

#include "export/backup_files.h"
#include "export/mouse_pointer.h"
#include "export/value_entry.h"
#include "registry/export_registry.h"
#include "util/encoded_text.h"

#include <string>
#include <vector>

namespace tarvex {

// The most bytes an ANSI code page spends on one UTF-16 unit: UTF-8, which
// Windows 10 offers as the system code page, takes three.
inline constexpr std::uint32_t kLongestAnsiCharacter = 3;

// Lists the subkey names of root\keyPath; an empty keyPath lists root itself.
// A missing key gives nothing; BackupError is set when the key exists but
// cannot be read or the listing ends early.
std::vector<AnsiText> EnumKeys(ExportRegistry& registry, KeyHandle root, const AnsiText& keyPath);

// Lists the values of root\keyPath in enumeration order, each converted to
// the form that restores it exactly. Error reporting as EnumKeys.
std::vector<ValueEntry> EnumValues(ExportRegistry& registry, KeyHandle root, const AnsiText& keyPath);

// One value in the form that an import turns back into the same type and bytes.
ValueEntry ValueEntryOf(const AnsiText& name, std::uint32_t type, std::vector<std::uint8_t> bytes);

// Decimal text of a 32-bit number to lower-case hex, left-filled to width.
std::string HexDword(const std::string& text, int width);

struct ExportPlatform {
    ExportRegistry& registry;
    BackupFiles& files;
    MousePointer* pointer;  // none where no pointer is shown
};

// Writes root\keyPath (and with recurse its whole subtree, depth-first) to
// filePath as REGEDIT4 text: appended, or into a new file that takes the old
// one's name (removed first, so a link loses its name and its target nothing).
// A file that is a link or one of several names of one file is never written.
// Never throws. It answers two questions, each on its own channel:
// - BackupError: whether to warn that the backup will not restore all it
//   covers (a key or value it could not save, or a file it could not write).
//   Callers clear it before and read it after; the warning reads nothing else.
// - The result: whether the file holds every byte meant for it, which only a
//   caller deciding what to do with the file (keep it, put it in place) reads.
bool ExportKey(const ExportPlatform& platform, RootKey root, const AnsiText& keyPath,
               const Utf8Text& filePath, bool recurse, bool append);

}  // namespace tarvex
