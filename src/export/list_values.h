#pragma once

#include "registry/export_registry.h"
#include "util/encoded_text.h"

#include <cstdint>
#include <vector>

namespace tarvex {

// One value as the ANSI calls list it, and what of it they carry exactly.
struct ListedValue {
    AnsiText name;
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> bytes;
    AnsiFit fit = AnsiFit::Exact;
};

// Every value of an open key, in the registry's order, each read whole.
// False when the listing broke off before its end (a status other than 259,
// or a value that grew again after its size was reported).
bool ListValues(ExportRegistry& registry, KeyHandle key, std::vector<ListedValue>& values);

}  // namespace tarvex
