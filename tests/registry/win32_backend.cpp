#include "registry/registry_backend.h"
#include "support/win32_registry_writer.h"
#include "win32/wide_registry.h"
#include "win32/wide_text.h"
#include "win32/win32_registry.h"

namespace tarvex::testing {

namespace {

class Win32Backend final : public RegistryBackend {
public:
    explicit Win32Backend(const std::string& testName) : base_("Software\\TarvexBehaviour\\" + testName) {
        registry_.SHDeleteKeyA(kCurrentUser, base_);
    }
    ~Win32Backend() override { registry_.SHDeleteKeyA(kCurrentUser, base_); }

    ExportRegistry& Api() override { return registry_; }
    RegistryWriter& Writer() override { return writer_; }
    RootKey Root() const override { return kCurrentUser; }
    std::string RootName() const override { return "HKCU"; }
    const std::string& Base() const override { return base_; }

    void AddKeyBeyondAnsi(const std::string& below) override {
        SetWideValue(HKEY_CURRENT_USER, Below(below) + L"\\\u0421\u0435\u0442\u044C", L"v", REG_SZ, L"x");
    }
    void AddValueNameBeyondAnsi(const std::string& below) override {
        SetWideValue(HKEY_CURRENT_USER, Below(below), L"\u0418\u043C\u044F", REG_SZ, L"x");
    }
    void AddTextBeyondAnsi(const std::string& below, const std::string& name) override {
        SetWideValue(HKEY_CURRENT_USER, Below(below), AnsiToWide(name), REG_SZ, L"Caf\u00E9 \u2603");
    }

private:
    std::wstring Below(const std::string& below) const { return AnsiToWide(base_ + "\\" + below); }

    Win32Registry registry_;
    Win32RegistryWriter writer_;
    std::string base_;
};

}  // namespace

std::unique_ptr<RegistryBackend> MakeRegistryBackend(const std::string& testName) {
    return std::make_unique<Win32Backend>(testName);
}

}  // namespace tarvex::testing
