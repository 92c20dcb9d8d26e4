#pragma once

#include "export/wide_key.h"
#include "registry/registry_api.h"
#include "util/encoded_text.h"

namespace tarvex {

// The lines of a file in regedit's Version 5 format, as UTF-16 text; the
// file holds them as UTF-16LE.
inline constexpr char16_t kVersion5LineEnd[] = u"\r\n";
inline constexpr char16_t kVersion5Header[] = u"Windows Registry Editor Version 5.00\r\n\r\n";

// Whether a name can stand in a line: a line break or a NUL would cut it.
bool FitsOnALine(const WideText& name);

// "[HKEY_LOCAL_MACHINE\path]" and the line end.
WideText Version5KeyLine(RootKey root, const WideText& keyPath);

// name=data and the line end: a quoted string or a dword where that form
// imports back as the same bytes, else the exact bytes as hex of the
// value's type, wrapped as regedit wraps it.
WideText Version5ValueLine(const WideValue& value);

}  // namespace tarvex
