#include "core/exit_codes.h"

namespace tarvex {

ExitCode WinningExitCode(const std::set<ExitCode>& met, ExitCode result) {
    for (ExitCode code : kOutranking) {
        if (met.count(code)) return code;
    }
    return result;
}

}  // namespace tarvex
