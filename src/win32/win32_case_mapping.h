#pragma once

#include "core/case_mapping.h"

namespace tarvex {

// Upper case through LCMapStringEx with the invariant locale: the simple
// one-to-one mapping of every script, whatever the user's language.
class Win32CaseMapping final : public CaseMapping {
public:
    Utf8Text Upper(const Utf8Text& text) const override;
};

}  // namespace tarvex
