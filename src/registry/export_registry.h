#pragma once

#include "registry/registry_api.h"

#include <cstdint>

namespace tarvex {

// What of one entry the ANSI calls carry exactly. A name outside the code
// page comes back with stand-in characters and cannot be opened or queried
// by it; text data loses those characters.
enum class AnsiFit { Exact, NameLost, DataLost };

// The registry as the backup reads it: the six calls, and whether subkey or
// value number index of an open key reaches the ANSI calls unchanged.
class ExportRegistry : public RegistryApi {
public:
    virtual AnsiFit SubkeyAnsiFit(KeyHandle key, std::uint32_t index) = 0;
    virtual AnsiFit ValueAnsiFit(KeyHandle key, std::uint32_t index) = 0;
};

}  // namespace tarvex
