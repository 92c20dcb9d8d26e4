#pragma once

#include "export/backup_files.h"
#include "export/mouse_pointer.h"
#include "export/value_entry.h"
#include "registry/registry_api.h"
#include "util/encoded_text.h"

#include <string>
#include <vector>

namespace tarvex {

// Lists the subkey names of root\keyPath; an empty keyPath lists root itself.
// A missing key gives nothing; BackupError is set when the key exists but
// cannot be read or the listing ends early.
std::vector<AnsiText> EnumKeys(RegistryApi& registry, KeyHandle root, const AnsiText& keyPath);

// Lists the values of root\keyPath in enumeration order, each converted to
// the form that restores it exactly. Error reporting as EnumKeys.
std::vector<ValueEntry> EnumValues(RegistryApi& registry, KeyHandle root, const AnsiText& keyPath);

// Decimal text of a 32-bit number to lower-case hex, left-filled to width.
std::string HexDword(const std::string& text, int width);

struct ExportPlatform {
    RegistryApi& registry;
    BackupFiles& files;
    MousePointer& pointer;
};

// Writes root\keyPath (and with recurse its whole subtree, depth-first) to
// filePath as REGEDIT4 text. Never throws; BackupError reports any key or
// value that the file will not restore. Returns false when the file could
// not be opened, written or closed in full, so that a caller writing a
// replacement can keep the file it would replace.
bool ExportKey(const ExportPlatform& platform, RootKey root, const AnsiText& keyPath,
               const Utf8Text& filePath, bool recurse, bool append);

}  // namespace tarvex
