#pragma once

#include "util/encoded_text.h"

namespace tarvex {

// The platform's own upper-case mapping, as it compares registry names:
// every script, one character for one.
class CaseMapping {
public:
    virtual ~CaseMapping() = default;
    virtual Utf8Text Upper(const Utf8Text& text) const = 0;
};

}  // namespace tarvex
