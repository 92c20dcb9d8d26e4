#pragma once

#include "util/encoded_text.h"

#include <stdexcept>

namespace tarvex {

// A failure with the platform's error number, raised where an event
// operation cannot go on (a list control refusing a row, say).
class AppError : public std::runtime_error {
public:
    AppError(long number, const Utf8Text& text) : std::runtime_error(text), number_(number) {}
    long number() const { return number_; }

private:
    long number_;
};

}  // namespace tarvex
