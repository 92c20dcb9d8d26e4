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

    // Seeds base\below as the wide calls write, for names and text the ANSI
    // code page cannot carry: path and name in UTF-8, text data as UTF-16LE.
    virtual Status SetValueWide(const std::string& below, const std::string& name, std::uint32_t type,
                                const std::string& bytes) = 0;
};

std::unique_ptr<RegistryBackend> MakeRegistryBackend(const std::string& testName);

}  // namespace tarvex::testing
