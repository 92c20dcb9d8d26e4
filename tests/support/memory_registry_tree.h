#pragma once

// The keys and values the in-memory registry holds, each as the ANSI and
// the wide calls see it. Only memory_registry*.cpp include this.
#include "support/key_names.h"
#include "support/latin1_text.h"
#include "support/memory_registry.h"
#include "support/utf16_text.h"

#include <algorithm>

namespace tarvex {

struct MemoryRegistry::Value {
    std::string name;         // as the ANSI calls give it
    std::u16string wideName;  // as the wide calls give it
    std::u16string folded;    // wideName without regard to case: the order and every lookup
    std::uint32_t type = kRegNone;
    std::string bytes;  // as the ANSI calls give them
    AnsiFit ansiFit = AnsiFit::Exact;
    std::optional<std::string> wideText;  // UTF-16LE as stored, where bytes hold only stand-ins

    static Value Named(const std::u16string& wide, const std::string& ansi) {
        Value value;
        value.name = ansi;
        value.wideName = wide;
        value.folded = FoldCase(wide);
        return value;
    }

    // Data set through the ANSI calls: the wide calls see its text widened.
    void SetAnsiData(std::uint32_t newType, const std::string& newBytes) {
        type = newType;
        bytes = newBytes;
        wideText.reset();
    }

    // Data set through the wide calls: the ANSI calls see its text with a
    // stand-in for each character beyond the code page, and no odd last byte.
    void SetWideData(std::uint32_t newType, const std::string& newBytes) {
        type = newType;
        if (!IsTextType(type)) {
            SetAnsiData(type, newBytes);
            return;
        }
        bool lost = false;
        bytes = NarrowToLatin1(Utf16FromLeBytes(newBytes), lost);
        wideText = newBytes;
        lost = lost || newBytes.size() % 2 != 0;
        if (ansiFit != AnsiFit::NameLost) ansiFit = lost ? AnsiFit::DataLost : AnsiFit::Exact;
    }

    std::string WideBytes() const {
        if (wideText) return *wideText;
        return IsTextType(type) ? Utf16LeBytes(WidenLatin1(bytes)) : bytes;
    }

    // Both views grow alike: extraBytes characters of text, or bytes of anything else.
    void Grow(std::size_t extraBytes) {
        bytes.append(extraBytes, 'g');
        if (wideText) wideText->append(Utf16LeBytes(std::u16string(extraBytes, u'g')));
    }
};

struct MemoryRegistry::Node {
    std::string name;  // as the ANSI calls give it
    std::u16string wideName;
    std::u16string folded;
    std::vector<std::shared_ptr<Node>> subkeys;  // sorted by folded name
    std::vector<Value> values;                   // in the registry's value order
    KeyRights rights;
    bool deleted = false;
    bool nameBeyondAnsi = false;

    // A key whose real name the code page cannot carry is not found by its stand-in.
    std::shared_ptr<Node> Child(const std::u16string& childName, NameCalls calls) const {
        const auto key = FoldCase(childName);
        auto it = std::lower_bound(subkeys.begin(), subkeys.end(), key,
                                   [](const std::shared_ptr<Node>& n, const std::u16string& f) { return n->folded < f; });
        for (; it != subkeys.end() && (*it)->folded == key; ++it) {
            if (calls == NameCalls::Wide || !(*it)->nameBeyondAnsi) return *it;
        }
        return nullptr;
    }

    std::shared_ptr<Node> AddChild(const std::u16string& wide, NameCalls calls) {
        if (auto existing = Child(wide, calls)) return existing;
        auto child = std::make_shared<Node>();
        child->wideName = wide;
        child->name = NarrowToLatin1(wide, child->nameBeyondAnsi);
        child->folded = FoldCase(wide);
        auto it = std::lower_bound(subkeys.begin(), subkeys.end(), child->folded,
                                   [](const std::shared_ptr<Node>& n, const std::u16string& f) { return n->folded < f; });
        subkeys.insert(it, child);
        return child;
    }

    Value* FindValue(const std::u16string& valueName, NameCalls calls) {
        const auto key = FoldCase(valueName);
        auto it = std::find_if(values.begin(), values.end(), [&](const Value& v) {
            return v.folded == key && (calls == NameCalls::Wide || v.ansiFit != AnsiFit::NameLost);
        });
        return it != values.end() ? &*it : nullptr;
    }

    // The value of that name, made where there is none.
    Value& PutValue(const std::u16string& valueName, NameCalls calls, ValueOrder order) {
        if (Value* existing = FindValue(valueName, calls)) return *existing;
        bool beyondLatin1 = false;
        Value value = Value::Named(valueName, NarrowToLatin1(valueName, beyondLatin1));
        if (beyondLatin1) value.ansiFit = AnsiFit::NameLost;
        if (order == ValueOrder::AsSet) return values.emplace_back(std::move(value));
        auto it = std::lower_bound(values.begin(), values.end(), value.folded,
                                   [](const Value& v, const std::u16string& f) { return v.folded < f; });
        return *values.insert(it, std::move(value));
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

}  // namespace tarvex
