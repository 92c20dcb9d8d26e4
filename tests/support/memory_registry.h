#pragma once

#include "registry/export_registry.h"
#include "registry/unicode_values.h"
#include "support/registry_writer.h"

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarvex {

// Which calls look a name up: the ANSI ones cannot reach a name the code page cannot carry.
enum class NameCalls { Ansi, Wide };

enum class RegistryCall {
    OpenKey,
    EnumKey,
    QueryValue,
    EnumValue,
    CloseKey,
    DeleteKey,
    SetValue,
    DeleteValue,
    OpenKeyW,
    EnumKeyW,
    EnumValueW,
};
inline constexpr std::size_t kRegistryCallCount = 11;

struct KeyRights {
    bool canRead = true;
    bool canWrite = true;
};

struct RegistryFault {
    RegistryCall call;
    Status status;
    int skipCalls = 0;                        // matching calls to let through first
    std::optional<std::uint32_t> reportedSize;  // what a value call reports as its data size
};

// wine lists a key's values sorted by name, Windows in the order they were set.
enum class ValueOrder { Sorted, AsSet };

// A registry held in memory that answers like the platform: statuses, access
// masks checked per handle, case-insensitive and case-preserving names,
// enumeration in sorted order, and keys deleted while handles are open.
// Its ANSI code page is Latin-1: names and text beyond it reach the wide
// calls whole and the ANSI calls as stand-ins.
class MemoryRegistry final : public ExportRegistry, public UnicodeValues, public RegistryWriter {
public:
    explicit MemoryRegistry(ValueOrder valueOrder = ValueOrder::Sorted);
    ~MemoryRegistry() override;

    Status RegOpenKeyExA(KeyHandle key, const std::string& subKey, std::uint32_t options, std::uint32_t access,
                         KeyHandle& opened) override;
    Status RegEnumKeyA(KeyHandle key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
    Status RegQueryValueExA(KeyHandle key, const std::string& valueName, std::uint32_t& type, std::uint8_t* data,
                            std::uint32_t& dataSize) override;
    Status RegEnumValueA(KeyHandle key, std::uint32_t index, char* name, std::uint32_t& nameLength,
                         std::uint32_t& type, std::uint8_t* data, std::uint32_t& dataSize) override;
    Status RegCloseKey(KeyHandle key) override;
    Status SHDeleteKeyA(KeyHandle key, const std::string& subKey) override;
    Status RegSetValueExA(KeyHandle key, const std::string& valueName, std::uint32_t type,
                          const std::string& bytes) override;
    Status RegDeleteValueA(KeyHandle key, const std::string& valueName) override;
    Status RegOpenKeyExW(KeyHandle key, const WideText& subKey, std::uint32_t options, std::uint32_t access,
                         KeyHandle& opened) override;
    Status RegEnumKeyExW(KeyHandle key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength) override;
    Status RegEnumValueW(KeyHandle key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength,
                         std::uint32_t& type, std::uint8_t* data, std::uint32_t& dataSize) override;
    AnsiFit SubkeyAnsiFit(KeyHandle key, std::uint32_t index) override;
    AnsiFit ValueAnsiFit(KeyHandle key, std::uint32_t index) override;
    // Text as the wide calls give it, in UTF-8.
    Status QueryUnicodeText(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                            std::string& text) override;

    Status CreateKey(RootKey root, const std::string& path) override;
    Status SetValue(RootKey root, const std::string& path, const std::string& name, std::uint32_t type,
                    const std::string& bytes) override;

    // Seeds as Windows' wide calls write: path and name in UTF-8, text data
    // as UTF-16LE bytes. A key or value name beyond Latin-1 reaches the
    // ANSI calls as a stand-in that opens nothing, as MarkBeyondAnsi
    // marks; text beyond it reaches them with a '?' for each such unit.
    Status CreateKeyWide(RootKey root, const std::string& utf8Path);
    Status SetValueWide(RootKey root, const std::string& utf8Path, const std::string& utf8Name, std::uint32_t type,
                        const std::string& bytes);

    // Applies to opens made from now on; handles already open keep their access.
    void SetRights(RootKey root, const std::string& path, KeyRights rights);
    // The next matching call (after skipCalls others) returns status instead of doing its work.
    void InjectFault(const RegistryFault& fault);
    // Stands for a name or text outside the ANSI code page: the ANSI calls
    // list the key (or value) under its stored stand-in name, but a key or a
    // value whose name is lost can no longer be opened or queried by it.
    // The wide calls see the stand-in too: nothing tells them the real name.
    void MarkBeyondAnsi(RootKey root, const std::string& path);
    void MarkBeyondAnsi(RootKey root, const std::string& path, const std::string& valueName, AnsiFit loss);
    // A REG_SZ value whose text the ANSI code page cannot carry: the ANSI
    // calls give ansiStandIn, the wide calls the UTF-8 text as UTF-16.
    void SetUnicodeText(RootKey root, const std::string& path, const std::string& valueName,
                        const std::string& utf8, const std::string& ansiStandIn);
    // Each time a query or a listing reports 234 for this value, its data
    // grows by extraBytes (characters, for text), up to times times.
    void GrowValueAfterSizeReport(RootKey root, const std::string& path, const std::string& name,
                                  std::size_t extraBytes, int times);

    // A key that stands for another, as CurrentControlSet stands for one of
    // the numbered sets on Windows: paths from the root through link lead
    // to target's keys. The link is not listed among its parent's subkeys.
    void LinkKey(RootKey root, const std::string& link, const std::string& target);

    bool KeyExists(RootKey root, const std::string& path) const;
    int CallCount(RegistryCall call) const { return callCounts_[static_cast<std::size_t>(call)]; }
    // Every path passed to an open, as passed (a wide one in UTF-8), and the access each asked for.
    const std::vector<std::string>& OpenedPaths() const { return openedPaths_; }
    const std::vector<std::uint32_t>& OpenedAccess() const { return openedAccess_; }
    std::size_t OpenHandleCount() const { return handles_.size(); }

private:
    struct Node;
    struct Value;
    struct OpenKeyEntry {
        std::shared_ptr<Node> node;
        std::uint32_t access;
    };
    struct Growth {
        std::size_t extraBytes;
        int timesLeft;
    };

    std::u16string FollowLink(KeyHandle key, const std::u16string& path) const;
    Status Resolve(KeyHandle key, std::uint32_t neededAccess, std::shared_ptr<Node>& node) const;
    std::shared_ptr<Node> Find(const std::shared_ptr<Node>& from, const std::u16string& path, NameCalls calls) const;
    std::shared_ptr<Node> FindFromRoot(RootKey root, const std::string& path) const;
    Status OpenKey(KeyHandle key, const std::u16string& subKey, NameCalls calls, std::uint32_t access,
                   KeyHandle& opened);
    std::shared_ptr<Node> MakeKey(RootKey root, const std::u16string& path, NameCalls calls);
    std::optional<Status> TakeFault(RegistryCall call, std::optional<std::uint32_t>& reportedSize);
    void Count(RegistryCall call) { ++callCounts_[static_cast<std::size_t>(call)]; }
    std::optional<Status> EnterValueCall(RegistryCall call, KeyHandle key, std::uint32_t& dataSize,
                                         std::shared_ptr<Node>& node);
    Status DeliverData(const Node& node, Value& value, NameCalls calls, std::uint8_t* data, std::uint32_t& dataSize);

    ValueOrder valueOrder_;
    std::map<RootKey, std::shared_ptr<Node>> roots_;
    std::map<KeyHandle, OpenKeyEntry> handles_;
    KeyHandle nextHandle_ = 0x1000;
    std::vector<RegistryFault> faults_;
    std::map<std::pair<const Node*, std::u16string>, Growth> growths_;
    std::array<int, kRegistryCallCount> callCounts_{};
    std::vector<std::string> openedPaths_;
    std::vector<std::uint32_t> openedAccess_;
    std::map<std::pair<RootKey, std::u16string>, std::u16string> links_;  // folded link path to target
};

}  // namespace tarvex
