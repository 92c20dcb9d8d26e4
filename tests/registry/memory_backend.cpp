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

    // Each holds the stand-in characters that the ANSI calls would give.
    void AddKeyBeyondAnsi(const std::string& below) override {
        registry_.CreateKey(kLocalMachine, base_ + "\\" + below + "\\????");
        registry_.MarkBeyondAnsi(kLocalMachine, base_ + "\\" + below + "\\????");
    }
    void AddValueNameBeyondAnsi(const std::string& below) override {
        registry_.SetValue(kLocalMachine, base_ + "\\" + below, "???", kRegSz, std::string("x\0", 2));
        registry_.MarkBeyondAnsi(kLocalMachine, base_ + "\\" + below, "???", AnsiFit::NameLost);
    }
    void AddTextBeyondAnsi(const std::string& below, const std::string& name) override {
        registry_.SetValue(kLocalMachine, base_ + "\\" + below, name, kRegSz, std::string("Caf\xE9 ?\0", 7));
        registry_.MarkBeyondAnsi(kLocalMachine, base_ + "\\" + below, name, AnsiFit::DataLost);
    }

private:
    MemoryRegistry registry_;
    std::string base_ = "SOFTWARE\\TarvexBehaviour";
};

}  // namespace

std::unique_ptr<RegistryBackend> MakeRegistryBackend(const std::string&) { return std::make_unique<MemoryBackend>(); }

}  // namespace tarvex::testing
