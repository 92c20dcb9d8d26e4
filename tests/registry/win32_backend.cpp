#include "registry/registry_backend.h"
#include "registry/win32_registry.h"

namespace tarvex::testing {

namespace {

class Win32Backend final : public RegistryBackend {
public:
    explicit Win32Backend(const std::string& testName) : base_("Software\\TarvexBehaviour\\" + testName) {
        registry_.SHDeleteKeyA(kCurrentUser, base_);
    }
    ~Win32Backend() override { registry_.SHDeleteKeyA(kCurrentUser, base_); }

    RegistryApi& Api() override { return registry_; }
    RegistryWriter& Writer() override { return writer_; }
    RootKey Root() const override { return kCurrentUser; }
    std::string RootName() const override { return "HKCU"; }
    const std::string& Base() const override { return base_; }

private:
    Win32Registry registry_;
    Win32RegistryWriter writer_;
    std::string base_;
};

}  // namespace

std::unique_ptr<RegistryBackend> MakeRegistryBackend(const std::string& testName) {
    return std::make_unique<Win32Backend>(testName);
}

}  // namespace tarvex::testing
