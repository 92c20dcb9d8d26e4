#pragma once

#include "support/registry_writer.h"

namespace tarvex {

// Seeds the platform's own registry through the ANSI calls.
class Win32RegistryWriter final : public RegistryWriter {
public:
    Status CreateKey(RootKey root, const std::string& path) override;
    Status SetValue(RootKey root, const std::string& path, const std::string& name, std::uint32_t type,
                    const std::string& bytes) override;
};

}  // namespace tarvex
