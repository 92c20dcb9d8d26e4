#pragma once

namespace tarvex {

// What a deletion saves first: the four Network trees into LargeBackup.reg,
// each key into SmallBackup.reg just before it goes, or nothing.
enum class BackupMode { Full, Selective, None };

}  // namespace tarvex
