#pragma once

#include "core/case_mapping.h"

namespace tarvex {

// Upper case for ASCII letters only: what the platform maps beyond them is
// tested against the platform itself.
class AsciiCaseMapping final : public CaseMapping {
public:
    Utf8Text Upper(const Utf8Text& text) const override {
        Utf8Text upper = text;
        for (char& c : upper) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        return upper;
    }
};

}  // namespace tarvex
