#pragma once

namespace tarvex {

inline constexpr int kUntrappedErrorExitCode = 1;

// Ends the program; tests put a recorder in its place.
class ProgramExit {
public:
    virtual ~ProgramExit() = default;
    virtual void Exit(int code) = 0;
};

}  // namespace tarvex
