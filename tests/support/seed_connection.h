#pragma once

#include "support/registry_writer.h"

#include <string>

namespace tarvex {

// One connection entry below HKLM: key's Connection subkey with its Name and,
// when one is given, its PnpInstanceID, both REG_SZ. The first failing status, or kSuccess.
inline Status SeedConnection(RegistryWriter& writer, const std::string& key, const std::string& name,
                             const std::string& pnpInstanceId = "") {
    const std::string connection = key + "\\Connection";
    Status status = writer.SetValue(kLocalMachine, connection, "Name", kRegSz, name + '\0');
    if (status == kSuccess && !pnpInstanceId.empty()) {
        status = writer.SetValue(kLocalMachine, connection, "PnpInstanceID", kRegSz, pnpInstanceId + '\0');
    }
    return status;
}

}  // namespace tarvex
