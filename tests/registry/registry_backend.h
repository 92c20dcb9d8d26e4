#pragma once

#include "registry/export_registry.h"
#include "support/registry_writer.h"

#include <memory>
#include <string>

namespace tarvex::testing {

// One registry for the behaviour suite: the in-memory one natively, the
// platform's own under wine. Everything a test makes lies below base.
class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;
    virtual ExportRegistry& Api() = 0;
    virtual RegistryWriter& Writer() = 0;
    virtual RootKey Root() const = 0;
    virtual std::string RootName() const = 0;
    virtual const std::string& Base() const = 0;

    // Entries that the ANSI code page cannot carry, below base\below: a
    // subkey, a value name, and text data.
    virtual void AddKeyBeyondAnsi(const std::string& below) = 0;
    virtual void AddValueNameBeyondAnsi(const std::string& below) = 0;
    virtual void AddTextBeyondAnsi(const std::string& below, const std::string& name) = 0;
};

std::unique_ptr<RegistryBackend> MakeRegistryBackend(const std::string& testName);

}  // namespace tarvex::testing
