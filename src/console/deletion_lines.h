#pragma once

#include "console/exit_codes.h"
#include "core/ansi_codec.h"
#include "core/connection_deletion.h"
#include "core/deletion_plan.h"
#include "util/encoded_text.h"

#include <set>
#include <string>

namespace tarvex {

// What the console says of a deletion: the lines for standard output (what
// was deleted, for a script to read back) and for the error stream (what was
// kept, failed or left), and the outcomes its exit code weighs.
struct DeletionLines {
    Utf8Text out;
    Utf8Text err;
    std::set<ExitCode> met;
};

// The run as it went, in its order: "deleted\tKEY", "deleted ip
// settings\tPATH", "uninstalled\tID" with "removed with device\tPATH" on
// standard output; what was kept, failed or left on the error stream; then
// a summary; then "handed over\tGHOST KEY\tSUCCESSOR KEY\tSETTINGS", or
// why nothing was. stopReason says why a stop stopped.
DeletionLines DescribeDeletion(const DeletionPlan& plan, const DeletionReport& report, const AnsiCodec& codec,
                               const std::string& stopReason);

// What the run would do: "would delete\tKEY", "would delete ip settings\tPATH", "would uninstall\tID",
// "would hand over\t...".
DeletionLines DescribeDryRun(const DeletionPlan& plan, const AnsiCodec& codec);

}  // namespace tarvex
