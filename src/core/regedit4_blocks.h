#pragma once

#include "core/ansi_codec.h"
#include "export/wide_key.h"
#include "util/encoded_text.h"

#include <string>

namespace tarvex {

// The REGEDIT4 blocks of a key read whole through the wide calls (keyPath
// is its path below the tree's root), in the ANSI code page as the ANSI
// calls would give them: the key, then its subkeys depth-first. Sets
// BackupError where a block cannot hold the key exactly: a name or a text
// the code page lacks (a value or subkey whose name it lacks is left out),
// or a name that breaks a line.
std::string Regedit4Blocks(const WideTree& tree, const AnsiText& keyPath, const AnsiCodec& codec);

}  // namespace tarvex
