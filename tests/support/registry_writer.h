#pragma once

#include "registry/registry_api.h"
#include "support/registry_constants.h"

#include <string>

namespace tarvex {

// What seeding a registry needs beyond the program's own calls: used by the
// demo and by tests, never by the program.
class RegistryWriter {
public:
    virtual ~RegistryWriter() = default;

    // Creates the key and any missing parents.
    virtual Status CreateKey(RootKey root, const std::string& path) = 0;
    virtual Status SetValue(RootKey root, const std::string& path, const std::string& name, std::uint32_t type,
                            const std::string& bytes) = 0;
};

}  // namespace tarvex
