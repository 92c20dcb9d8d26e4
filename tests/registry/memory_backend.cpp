#include "registry/registry_backend.h"
#include "support/memory_registry.h"

namespace tarvex::testing {

namespace {

class MemoryBackend final : public RegistryBackend {
public:
    ExportRegistry& Api() override { return registry_; }
    RegistryWriter& Writer() override { return registry_; }
    RootKey Root() const override { return kLocalMachine; }
    std::string RootName() const override { return "HKLM"; }
    const std::string& Base() const override { return base_; }

    Status SetValueWide(const std::string& below, const std::string& name, std::uint32_t type,
                        const std::string& bytes) override {
        return registry_.SetValueWide(kLocalMachine, base_ + "\\" + below, name, type, bytes);
    }

private:
    MemoryRegistry registry_;
    std::string base_ = "SOFTWARE\\TarvexBehaviour";
};

}  // namespace

std::unique_ptr<RegistryBackend> MakeRegistryBackend(const std::string&) { return std::make_unique<MemoryBackend>(); }

}  // namespace tarvex::testing
