#include "registry/memory_registry.h"
#include "registry/registry_backend.h"

namespace tarvex::testing {

namespace {

class MemoryBackend final : public RegistryBackend {
public:
    RegistryApi& Api() override { return registry_; }
    RegistryWriter& Writer() override { return registry_; }
    RootKey Root() const override { return kLocalMachine; }
    std::string RootName() const override { return "HKLM"; }
    const std::string& Base() const override { return base_; }

private:
    MemoryRegistry registry_;
    std::string base_ = "SOFTWARE\\TarvexBehaviour";
};

}  // namespace

std::unique_ptr<RegistryBackend> MakeRegistryBackend(const std::string&) { return std::make_unique<MemoryBackend>(); }

}  // namespace tarvex::testing
