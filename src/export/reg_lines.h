#pragma once

#include "export/value_entry.h"
#include "registry/registry_api.h"
#include "util/encoded_text.h"

#include <string>

namespace tarvex {

inline constexpr char kLineEnd[] = "\r\n";
inline constexpr char kRegeditMark[] = "REGEDIT4";
inline constexpr char kRegeditHeader[] = "REGEDIT4\r\n\r\n";

// "HKEY_LOCAL_MACHINE\" and its kind; the empty text for any other handle.
std::string RootPrefix(RootKey root);

// "[prefix path]" and the line end.
AnsiText KeyLine(const std::string& rootPrefix, const AnsiText& keyPath);

// name=data and the line end. An entry of no known kind gets nothing after
// "=" and sets BackupError.
AnsiText ValueLine(const ValueEntry& entry);

// name=- and the line end: an import deletes the value.
AnsiText DeletedValueLine(const AnsiText& name);

}  // namespace tarvex
