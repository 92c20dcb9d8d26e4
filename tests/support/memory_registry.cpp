#include "support/memory_registry.h"

#include "registry/root_keys.h"
#include "support/key_names.h"
#include "support/latin1_text.h"

#include <algorithm>
#include <cstring>

namespace tarvex {

namespace {

constexpr std::uint32_t kWriteBits = kKeySetValue | kKeyCreateSubKey | kKeyCreateLink | 0x10000 | 0x40000 | 0x80000;
constexpr std::uint32_t kReadBits = kKeyQueryValue | kEnumerateSubKeys | kKeyNotify | kReadControl;

}  // namespace

struct MemoryRegistry::Value {
    std::string name;
    std::string folded;
    std::uint32_t type;
    std::string bytes;
    AnsiFit ansiFit = AnsiFit::Exact;
    std::optional<std::string> unicodeText;  // UTF-8, where the ANSI bytes lost characters
};

struct MemoryRegistry::Node {
    std::string name;
    std::string folded;
    std::vector<std::shared_ptr<Node>> subkeys;  // sorted by folded name
    std::vector<Value> values;                   // in the registry's value order
    KeyRights rights;
    bool deleted = false;
    bool nameBeyondAnsi = false;

    // A key whose real name the code page cannot carry is not found by its stand-in.
    std::shared_ptr<Node> Child(const std::string& childName) const {
        auto folded = FoldCase(childName);
        auto it = std::lower_bound(subkeys.begin(), subkeys.end(), folded,
                                   [](const std::shared_ptr<Node>& n, const std::string& f) { return n->folded < f; });
        for (; it != subkeys.end() && (*it)->folded == folded; ++it) {
            if (!(*it)->nameBeyondAnsi) return *it;
        }
        return nullptr;
    }

    std::shared_ptr<Node> AddChild(const std::string& childName) {
        if (auto existing = Child(childName)) return existing;
        auto child = std::make_shared<Node>();
        child->name = childName;
        child->folded = FoldCase(childName);
        auto it = std::lower_bound(subkeys.begin(), subkeys.end(), child->folded,
                                   [](const std::shared_ptr<Node>& n, const std::string& f) { return n->folded < f; });
        subkeys.insert(it, child);
        return child;
    }

    Value* FindValue(const std::string& valueName) {
        auto folded = FoldCase(valueName);
        auto it = std::find_if(values.begin(), values.end(), [&](const Value& v) {
            return v.folded == folded && v.ansiFit != AnsiFit::NameLost;
        });
        return it != values.end() ? &*it : nullptr;
    }

    void PutValue(const std::string& valueName, std::uint32_t type, const std::string& bytes, ValueOrder order) {
        if (Value* existing = FindValue(valueName)) {
            existing->type = type;
            existing->bytes = bytes;
            existing->unicodeText.reset();
            return;
        }
        Value value{valueName, FoldCase(valueName), type, bytes};
        if (order == ValueOrder::AsSet) {
            values.push_back(std::move(value));
            return;
        }
        auto it = std::lower_bound(values.begin(), values.end(), value.folded,
                                   [](const Value& v, const std::string& f) { return v.folded < f; });
        values.insert(it, std::move(value));
    }

    bool SubtreeWritable() const {
        return rights.canWrite &&
               std::all_of(subkeys.begin(), subkeys.end(), [](const auto& n) { return n->SubtreeWritable(); });
    }

    void MarkDeleted() {
        deleted = true;
        for (auto& child : subkeys) child->MarkDeleted();
    }
};

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
                                                           const std::string& path) const {
    auto node = from;
    for (const auto& level : SplitKeyPath(path)) {
        node = node->Child(level);
        if (!node) return nullptr;
    }
    return node;
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::FindFromRoot(RootKey root, const std::string& path) const {
    auto it = roots_.find(root);
    return it == roots_.end() ? nullptr : Find(it->second, path);
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

    std::shared_ptr<Node> parent;
    if (Status status = Resolve(key, 0, parent); status != kSuccess) return status;
    auto node = Find(parent, FollowLink(key, subKey));
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

// Both value calls start alike: counted, an injected fault (with the data
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

// Both value calls deliver data alike: copied when it fits, else the size
// needed, after which a value set to grow does so before the next read.
Status MemoryRegistry::DeliverData(const Node& node, Value& value, std::uint8_t* data, std::uint32_t& dataSize) {
    auto size = static_cast<std::uint32_t>(value.bytes.size());
    if (data && size > dataSize) {
        dataSize = size;
        auto growth = growths_.find({&node, value.folded});
        if (growth != growths_.end() && growth->second.timesLeft > 0) {
            --growth->second.timesLeft;
            value.bytes.append(growth->second.extraBytes, 'g');
        }
        return kMoreData;
    }
    if (data) std::memcpy(data, value.bytes.data(), size);
    dataSize = size;
    return kSuccess;
}

Status MemoryRegistry::RegQueryValueExA(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                                        std::uint8_t* data, std::uint32_t& dataSize) {
    std::shared_ptr<Node> node;
    if (auto early = EnterValueCall(RegistryCall::QueryValue, key, dataSize, node)) return *early;
    Value* value = node->FindValue(valueName);
    if (!value) return kFileNotFound;
    type = value->type;
    return DeliverData(*node, *value, data, dataSize);
}

Status MemoryRegistry::QueryUnicodeText(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                                        std::string& text) {
    text.clear();
    std::uint32_t size = 0;
    std::shared_ptr<Node> node;
    if (auto early = EnterValueCall(RegistryCall::QueryValue, key, size, node)) return *early;
    Value* value = node->FindValue(valueName);
    if (!value) return kFileNotFound;
    type = value->type;
    if (!IsTextType(type)) return kSuccess;
    if (value->unicodeText) {
        text = *value->unicodeText;
        return kSuccess;
    }
    std::string bytes = value->bytes;
    if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    text = Latin1ToUtf8(bytes);
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
    return DeliverData(*node, value, data, dataSize);
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
    auto levels = SplitKeyPath(FollowLink(key, subKey));
    if (levels.empty()) return kAccessDenied;
    std::string last = levels.back();
    levels.pop_back();
    for (const auto& level : levels) {
        parent = parent->Child(level);
        if (!parent) return kFileNotFound;
    }
    auto node = parent->Child(last);
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
    node->PutValue(valueName, type, bytes, valueOrder_);
    return kSuccess;
}

Status MemoryRegistry::RegDeleteValueA(KeyHandle key, const std::string& valueName) {
    Count(RegistryCall::DeleteValue);
    std::optional<std::uint32_t> ignored;
    if (auto fault = TakeFault(RegistryCall::DeleteValue, ignored)) return *fault;
    std::shared_ptr<Node> node;
    if (Status status = Resolve(key, kKeySetValue, node); status != kSuccess) return status;
    const Value* value = node->FindValue(valueName);
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

Status MemoryRegistry::CreateKey(RootKey root, const std::string& path) {
    auto it = roots_.find(root);
    if (it == roots_.end()) return kInvalidHandle;
    auto node = it->second;
    for (const auto& level : SplitKeyPath(path)) node = node->AddChild(level);
    return kSuccess;
}

Status MemoryRegistry::SetValue(RootKey root, const std::string& path, const std::string& name, std::uint32_t type,
                                const std::string& bytes) {
    if (Status status = CreateKey(root, path); status != kSuccess) return status;
    FindFromRoot(root, path)->PutValue(name, type, bytes, valueOrder_);
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
        if (Value* value = node->FindValue(valueName)) value->ansiFit = loss;
    }
}

void MemoryRegistry::SetUnicodeText(RootKey root, const std::string& path, const std::string& valueName,
                                    const std::string& utf8, const std::string& ansiStandIn) {
    SetValue(root, path, valueName, kRegSz, ansiStandIn + '\0');
    if (auto node = FindFromRoot(root, path)) {
        if (Value* value = node->FindValue(valueName)) value->unicodeText = utf8;
    }
}

void MemoryRegistry::InjectFault(const RegistryFault& fault) { faults_.push_back(fault); }

void MemoryRegistry::GrowValueAfterSizeReport(RootKey root, const std::string& path, const std::string& name,
                                              std::size_t extraBytes, int times) {
    if (auto node = FindFromRoot(root, path)) growths_[{node.get(), FoldCase(name)}] = Growth{extraBytes, times};
}

void MemoryRegistry::LinkKey(RootKey root, const std::string& link, const std::string& target) {
    links_[{root, FoldCase(link)}] = target;
}

std::string MemoryRegistry::FollowLink(KeyHandle key, const std::string& path) const {
    for (const auto& [link, target] : links_) {
        if (link.first != key) continue;
        const std::string folded = FoldCase(path);
        if (folded.rfind(link.second, 0) == 0 && (folded.size() == link.second.size() || folded[link.second.size()] == '\\')) {
            return target + path.substr(link.second.size());
        }
    }
    return path;
}

bool MemoryRegistry::KeyExists(RootKey root, const std::string& path) const {
    return FindFromRoot(root, FollowLink(root, path)) != nullptr;
}

}  // namespace tarvex
