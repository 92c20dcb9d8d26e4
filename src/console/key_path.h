#pragma once

#include "util/encoded_text.h"

namespace tarvex {

// A key path below HKEY_LOCAL_MACHINE as an admin copies it: after HKLM\,
// HKEY_LOCAL_MACHINE\, HKLM:\ or Registry::HKEY_LOCAL_MACHINE\ (PowerShell),
// or after regedit's address bar's Computer\HKEY_LOCAL_MACHINE\, in any
// case and with "Computer" in any language; any other path as it is.
Utf8Text PathBelowLocalMachine(const Utf8Text& path);

// The connection entry's key a path names: as PathBelowLocalMachine gives
// it, without trailing backslashes, and without the Connection subkey
// (where regedit shows the entry's Name).
Utf8Text EntryKeyOf(const Utf8Text& path);

}  // namespace tarvex
