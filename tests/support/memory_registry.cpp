#include "support/memory_registry.h"

#include "registry/root_keys.h"
#include "support/memory_registry_tree.h"

#include <algorithm>
#include <cstring>

namespace tarvex {

namespace {

constexpr std::uint32_t kWriteBits = kKeySetValue | kKeyCreateSubKey | kKeyCreateLink | 0x10000 | 0x40000 | 0x80000;
constexpr std::uint32_t kReadBits = kKeyQueryValue | kEnumerateSubKeys | kKeyNotify | kReadControl;

}  // namespace

MemoryRegistry::MemoryRegistry(ValueOrder valueOrder) : valueOrder_(valueOrder) {
    for (const RootKeyNames& names : kRootKeys) roots_[names.root] = std::make_shared<Node>();
}

MemoryRegistry::~MemoryRegistry() = default;

Status MemoryRegistry::Resolve(KeyHandle key, std::uint32_t neededAccess, std::shared_ptr<Node>& node) const {
    if (auto root = roots_.find(static_cast<RootKey>(key)); key <= 0xFFFFFFFF && root != roots_.end()) {
        node = root->second;
        return kSuccess;
    }
    auto open = handles_.find(key);
    if (open == handles_.end()) return kInvalidHandle;
    if (open->second.node->deleted) return kKeyDeleted;
    if ((open->second.access & neededAccess) != neededAccess) return kAccessDenied;
    node = open->second.node;
    return kSuccess;
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::Find(const std::shared_ptr<Node>& from,
                                                           const std::u16string& path, NameCalls calls) const {
    auto node = from;
    for (const auto& level : SplitKeyPath(path)) {
        node = node->Child(level, calls);
        if (!node) return nullptr;
    }
    return node;
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::FindFromRoot(RootKey root, const std::string& path) const {
    auto it = roots_.find(root);
    return it == roots_.end() ? nullptr : Find(it->second, WidenLatin1(path), NameCalls::Ansi);
}

std::optional<Status> MemoryRegistry::TakeFault(RegistryCall call, std::optional<std::uint32_t>& reportedSize) {
    auto it = std::find_if(faults_.begin(), faults_.end(), [call](const RegistryFault& f) { return f.call == call; });
    if (it == faults_.end()) return std::nullopt;
    if (it->skipCalls > 0) {
        --it->skipCalls;
        return std::nullopt;
    }
    Status status = it->status;
    reportedSize = it->reportedSize;
    faults_.erase(it);
    return status;
}

Status MemoryRegistry::RegOpenKeyExA(KeyHandle key, const std::string& subKey, std::uint32_t /*options*/,
                                     std::uint32_t access, KeyHandle& opened) {
    Count(RegistryCall::OpenKey);
    openedPaths_.push_back(subKey);
    openedAccess_.push_back(access);
    std::optional<std::uint32_t> ignored;
    if (auto fault = TakeFault(RegistryCall::OpenKey, ignored)) return *fault;
    return OpenKey(key, WidenLatin1(subKey), NameCalls::Ansi, access, opened);
}

// Both opens end alike once counted: the parent, the path, the rights.
Status MemoryRegistry::OpenKey(KeyHandle key, const std::u16string& subKey, NameCalls calls, std::uint32_t access,
                               KeyHandle& opened) {
    std::shared_ptr<Node> parent;
    if (Status status = Resolve(key, 0, parent); status != kSuccess) return status;
    auto node = Find(parent, FollowLink(key, subKey), calls);
    if (!node) return kFileNotFound;

    if ((access & kWriteBits) && !node->rights.canWrite) return kAccessDenied;
    if ((access & kReadBits) && !node->rights.canRead) return kAccessDenied;
    opened = nextHandle_;
    nextHandle_ += 4;
    handles_[opened] = OpenKeyEntry{node, access};
    return kSuccess;
}

Status MemoryRegistry::RegEnumKeyA(KeyHandle key, std::uint32_t index, char* name, std::uint32_t nameSize) {
    Count(RegistryCall::EnumKey);
    std::optional<std::uint32_t> ignored;
    if (auto fault = TakeFault(RegistryCall::EnumKey, ignored)) return *fault;

    std::shared_ptr<Node> node;
    if (Status status = Resolve(key, kEnumerateSubKeys, node); status != kSuccess) return status;
    if (index >= node->subkeys.size()) return kNoMoreItems;
    const std::string& subkeyName = node->subkeys[index]->name;
    if (subkeyName.size() + 1 > nameSize) return kMoreData;
    std::memcpy(name, subkeyName.c_str(), subkeyName.size() + 1);
    return kSuccess;
}

// The value calls start alike: counted, an injected fault (with the data
// size it reports), then the key, which must allow querying values.
std::optional<Status> MemoryRegistry::EnterValueCall(RegistryCall call, KeyHandle key, std::uint32_t& dataSize,
                                                     std::shared_ptr<Node>& node) {
    Count(call);
    std::optional<std::uint32_t> reportedSize;
    if (auto fault = TakeFault(call, reportedSize)) {
        if (reportedSize) dataSize = *reportedSize;
        return fault;
    }
    if (Status status = Resolve(key, kKeyQueryValue, node); status != kSuccess) return status;
    return std::nullopt;
}

// The value calls deliver data alike: copied when it fits, else the size
// needed, after which a value set to grow does so before the next read.
Status MemoryRegistry::DeliverData(const Node& node, Value& value, NameCalls calls, std::uint8_t* data,
                                   std::uint32_t& dataSize) {
    const std::string bytes = calls == NameCalls::Wide ? value.WideBytes() : value.bytes;
    auto size = static_cast<std::uint32_t>(bytes.size());
    if (data && size > dataSize) {
        dataSize = size;
        auto growth = growths_.find({&node, value.folded});
        if (growth != growths_.end() && growth->second.timesLeft > 0) {
            --growth->second.timesLeft;
            value.Grow(growth->second.extraBytes);
        }
        return kMoreData;
    }
    if (data) std::memcpy(data, bytes.data(), size);
    dataSize = size;
    return kSuccess;
}

Status MemoryRegistry::RegQueryValueExA(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                                        std::uint8_t* data, std::uint32_t& dataSize) {
    std::shared_ptr<Node> node;
    if (auto early = EnterValueCall(RegistryCall::QueryValue, key, dataSize, node)) return *early;
    Value* value = node->FindValue(WidenLatin1(valueName), NameCalls::Ansi);
    if (!value) return kFileNotFound;
    type = value->type;
    return DeliverData(*node, *value, NameCalls::Ansi, data, dataSize);
}

Status MemoryRegistry::QueryUnicodeText(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                                        std::string& text) {
    text.clear();
    std::uint32_t size = 0;
    std::shared_ptr<Node> node;
    if (auto early = EnterValueCall(RegistryCall::QueryValue, key, size, node)) return *early;
    Value* value = node->FindValue(WidenLatin1(valueName), NameCalls::Ansi);
    if (!value) return kFileNotFound;
    type = value->type;
    if (!IsTextType(type)) return kSuccess;
    std::u16string wide = Utf16FromLeBytes(value->WideBytes());
    if (!wide.empty() && wide.back() == u'\0') wide.pop_back();
    text = Utf16ToUtf8(wide);
    return kSuccess;
}

Status MemoryRegistry::RegEnumValueA(KeyHandle key, std::uint32_t index, char* name, std::uint32_t& nameLength,
                                     std::uint32_t& type, std::uint8_t* data, std::uint32_t& dataSize) {
    std::shared_ptr<Node> node;
    if (auto early = EnterValueCall(RegistryCall::EnumValue, key, dataSize, node)) return *early;
    if (index >= node->values.size()) return kNoMoreItems;
    Value& value = node->values[index];
    type = value.type;
    if (value.name.size() >= nameLength) return kMoreData;
    std::memcpy(name, value.name.c_str(), value.name.size() + 1);
    nameLength = static_cast<std::uint32_t>(value.name.size());
    return DeliverData(*node, value, NameCalls::Ansi, data, dataSize);
}

Status MemoryRegistry::RegCloseKey(KeyHandle key) {
    Count(RegistryCall::CloseKey);
    std::optional<std::uint32_t> ignored;
    if (auto fault = TakeFault(RegistryCall::CloseKey, ignored)) return *fault;
    if (key <= 0xFFFFFFFF && roots_.count(static_cast<RootKey>(key))) return kSuccess;
    return handles_.erase(key) ? kSuccess : kInvalidHandle;
}

Status MemoryRegistry::SHDeleteKeyA(KeyHandle key, const std::string& subKey) {
    Count(RegistryCall::DeleteKey);
    std::optional<std::uint32_t> ignored;
    if (auto fault = TakeFault(RegistryCall::DeleteKey, ignored)) return *fault;

    std::shared_ptr<Node> parent;
    if (Status status = Resolve(key, 0, parent); status != kSuccess) return status;
    auto levels = SplitKeyPath(FollowLink(key, WidenLatin1(subKey)));
    if (levels.empty()) return kAccessDenied;
    std::u16string last = levels.back();
    levels.pop_back();
    for (const auto& level : levels) {
        parent = parent->Child(level, NameCalls::Ansi);
        if (!parent) return kFileNotFound;
    }
    auto node = parent->Child(last, NameCalls::Ansi);
    if (!node) return kFileNotFound;
    if (!node->SubtreeWritable()) return kAccessDenied;
    node->MarkDeleted();
    std::erase(parent->subkeys, node);
    return kSuccess;
}

Status MemoryRegistry::RegSetValueExA(KeyHandle key, const std::string& valueName, std::uint32_t type,
                                      const std::string& bytes) {
    Count(RegistryCall::SetValue);
    std::optional<std::uint32_t> ignored;
    if (auto fault = TakeFault(RegistryCall::SetValue, ignored)) return *fault;
    std::shared_ptr<Node> node;
    if (Status status = Resolve(key, kKeySetValue, node); status != kSuccess) return status;
    node->PutValue(WidenLatin1(valueName), NameCalls::Ansi, valueOrder_).SetAnsiData(type, bytes);
    return kSuccess;
}

Status MemoryRegistry::RegDeleteValueA(KeyHandle key, const std::string& valueName) {
    Count(RegistryCall::DeleteValue);
    std::optional<std::uint32_t> ignored;
    if (auto fault = TakeFault(RegistryCall::DeleteValue, ignored)) return *fault;
    std::shared_ptr<Node> node;
    if (Status status = Resolve(key, kKeySetValue, node); status != kSuccess) return status;
    const Value* value = node->FindValue(WidenLatin1(valueName), NameCalls::Ansi);
    if (value == nullptr) return kFileNotFound;
    node->values.erase(node->values.begin() + (value - node->values.data()));
    return kSuccess;
}

AnsiFit MemoryRegistry::SubkeyAnsiFit(KeyHandle key, std::uint32_t index) {
    std::shared_ptr<Node> node;
    if (Resolve(key, kEnumerateSubKeys, node) != kSuccess || index >= node->subkeys.size()) return AnsiFit::NameLost;
    return node->subkeys[index]->nameBeyondAnsi ? AnsiFit::NameLost : AnsiFit::Exact;
}

AnsiFit MemoryRegistry::ValueAnsiFit(KeyHandle key, std::uint32_t index) {
    std::shared_ptr<Node> node;
    if (Resolve(key, kKeyQueryValue, node) != kSuccess || index >= node->values.size()) return AnsiFit::NameLost;
    return node->values[index].ansiFit;
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::MakeKey(RootKey root, const std::u16string& path,
                                                              NameCalls calls) {
    auto it = roots_.find(root);
    if (it == roots_.end()) return nullptr;
    auto node = it->second;
    for (const auto& level : SplitKeyPath(path)) node = node->AddChild(level, calls);
    return node;
}

Status MemoryRegistry::CreateKey(RootKey root, const std::string& path) {
    return MakeKey(root, WidenLatin1(path), NameCalls::Ansi) ? kSuccess : kInvalidHandle;
}

Status MemoryRegistry::SetValue(RootKey root, const std::string& path, const std::string& name, std::uint32_t type,
                                const std::string& bytes) {
    auto node = MakeKey(root, WidenLatin1(path), NameCalls::Ansi);
    if (!node) return kInvalidHandle;
    node->PutValue(WidenLatin1(name), NameCalls::Ansi, valueOrder_).SetAnsiData(type, bytes);
    return kSuccess;
}

void MemoryRegistry::SetRights(RootKey root, const std::string& path, KeyRights rights) {
    if (auto node = FindFromRoot(root, path)) node->rights = rights;
}

void MemoryRegistry::MarkBeyondAnsi(RootKey root, const std::string& path) {
    if (auto node = FindFromRoot(root, path)) node->nameBeyondAnsi = true;
}

void MemoryRegistry::MarkBeyondAnsi(RootKey root, const std::string& path, const std::string& valueName,
                                    AnsiFit loss) {
    if (auto node = FindFromRoot(root, path)) {
        if (Value* value = node->FindValue(WidenLatin1(valueName), NameCalls::Ansi)) value->ansiFit = loss;
    }
}

void MemoryRegistry::SetUnicodeText(RootKey root, const std::string& path, const std::string& valueName,
                                    const std::string& utf8, const std::string& ansiStandIn) {
    SetValue(root, path, valueName, kRegSz, ansiStandIn + '\0');
    if (auto node = FindFromRoot(root, path)) {
        if (Value* value = node->FindValue(WidenLatin1(valueName), NameCalls::Ansi)) {
            value->wideText = Utf16Le(utf8) + std::string(2, '\0');
        }
    }
}

void MemoryRegistry::InjectFault(const RegistryFault& fault) { faults_.push_back(fault); }

void MemoryRegistry::GrowValueAfterSizeReport(RootKey root, const std::string& path, const std::string& name,
                                              std::size_t extraBytes, int times) {
    if (auto node = FindFromRoot(root, path)) {
        growths_[{node.get(), FoldCase(WidenLatin1(name))}] = Growth{extraBytes, times};
    }
}

void MemoryRegistry::LinkKey(RootKey root, const std::string& link, const std::string& target) {
    links_[{root, FoldCase(WidenLatin1(link))}] = WidenLatin1(target);
}

std::u16string MemoryRegistry::FollowLink(KeyHandle key, const std::u16string& path) const {
    for (const auto& [link, target] : links_) {
        if (link.first != key) continue;
        const std::u16string folded = FoldCase(path);
        if (folded.rfind(link.second, 0) == 0 && (folded.size() == link.second.size() || folded[link.second.size()] == '\\')) {
            return target + path.substr(link.second.size());
        }
    }
    return path;
}

bool MemoryRegistry::KeyExists(RootKey root, const std::string& path) const {
    auto it = roots_.find(root);
    return it != roots_.end() && Find(it->second, FollowLink(root, WidenLatin1(path)), NameCalls::Ansi) != nullptr;
}

}  // namespace tarvex
