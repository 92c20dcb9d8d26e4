#pragma once

namespace tarvex {

// Closes the main window, which ends the program.
class FormCloser {
public:
    virtual ~FormCloser() = default;
    virtual void Close() = 0;
};

}  // namespace tarvex
