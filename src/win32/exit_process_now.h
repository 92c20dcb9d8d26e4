#pragma once

#include "window/program_exit.h"

#include <windows.h>

namespace tarvex {

// Nothing is saved on the way out, so ending at once loses nothing.
class ExitProcessNow final : public ProgramExit {
public:
    void Exit(int code) override { ExitProcess(static_cast<UINT>(code)); }
};

}  // namespace tarvex
