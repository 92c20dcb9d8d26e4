// The wide calls of the in-memory registry and its seeding as they write.
#include "support/memory_registry.h"

#include "support/memory_registry_tree.h"

#include <algorithm>

namespace tarvex {

namespace {

void CopyName(const std::u16string& name, char16_t* to, std::uint32_t& nameLength) {
    std::copy(name.begin(), name.end(), to);
    to[name.size()] = u'\0';
    nameLength = static_cast<std::uint32_t>(name.size());
}

}  // namespace

Status MemoryRegistry::RegOpenKeyExW(KeyHandle key, const WideText& subKey, std::uint32_t /*options*/,
                                     std::uint32_t access, KeyHandle& opened) {
    Count(RegistryCall::OpenKeyW);
    openedPaths_.push_back(Utf16ToUtf8(subKey));
    openedAccess_.push_back(access);
    std::optional<std::uint32_t> ignored;
    if (auto fault = TakeFault(RegistryCall::OpenKeyW, ignored)) return *fault;
    return OpenKey(key, subKey, NameCalls::Wide, access, opened);
}

Status MemoryRegistry::RegEnumKeyExW(KeyHandle key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength) {
    Count(RegistryCall::EnumKeyW);
    std::optional<std::uint32_t> ignored;
    if (auto fault = TakeFault(RegistryCall::EnumKeyW, ignored)) return *fault;

    std::shared_ptr<Node> node;
    if (Status status = Resolve(key, kEnumerateSubKeys, node); status != kSuccess) return status;
    if (index >= node->subkeys.size()) return kNoMoreItems;
    const std::u16string& subkeyName = node->subkeys[index]->wideName;
    if (subkeyName.size() >= nameLength) return kMoreData;
    CopyName(subkeyName, name, nameLength);
    return kSuccess;
}

Status MemoryRegistry::RegEnumValueW(KeyHandle key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength,
                                     std::uint32_t& type, std::uint8_t* data, std::uint32_t& dataSize) {
    std::shared_ptr<Node> node;
    if (auto early = EnterValueCall(RegistryCall::EnumValueW, key, dataSize, node)) return *early;
    if (index >= node->values.size()) return kNoMoreItems;
    Value& value = node->values[index];
    type = value.type;
    if (value.wideName.size() >= nameLength) return kMoreData;
    CopyName(value.wideName, name, nameLength);
    return DeliverData(*node, value, NameCalls::Wide, data, dataSize);
}

Status MemoryRegistry::CreateKeyWide(RootKey root, const std::string& utf8Path) {
    return MakeKey(root, Utf8ToUtf16(utf8Path), NameCalls::Wide) ? kSuccess : kInvalidHandle;
}

Status MemoryRegistry::SetValueWide(RootKey root, const std::string& utf8Path, const std::string& utf8Name,
                                    std::uint32_t type, const std::string& bytes) {
    auto node = MakeKey(root, Utf8ToUtf16(utf8Path), NameCalls::Wide);
    if (!node) return kInvalidHandle;
    node->PutValue(Utf8ToUtf16(utf8Name), NameCalls::Wide, valueOrder_).SetWideData(type, bytes);
    return kSuccess;
}

}  // namespace tarvex
