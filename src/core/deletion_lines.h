#pragma once

#include "core/exit_codes.h"
#include "core/summary_line.h"
#include "core/ansi_codec.h"
#include "core/backup_forecast.h"
#include "core/connection_deletion.h"
#include "core/deletion_plan.h"
#include "util/encoded_text.h"

#include <set>
#include <string>
#include <vector>

namespace tarvex {

// What the console says of a deletion: the lines for standard output (what
// was deleted, for a script to read back), the messages (what was kept,
// failed or left, its counts, which connections and backups, the
// hand-over and the restart), and the outcomes its exit code weighs.
struct DeletionLines {
    Utf8Text out;                       // each line with its LF
    std::vector<Utf8Text> details;      // kept, failed and left, in the run's order
    Utf8Text counts;                    // what went, failed, was kept or left, and why a stop stopped
    std::vector<Utf8Text> names;        // of the entries or profiles deleted (or that would be), each once
    std::vector<Utf8Text> backups;      // the files written (or that would be)
    Utf8Text restore;                   // the command that undoes this run, from its own file
    std::vector<Utf8Text> after;        // the hand-over's outcome and the restart
    std::set<ExitCode> met;
    bool dryRun = false;
};

// Each name once, in its first place: the CurrentControlSet row and its twin name one connection.
std::vector<Utf8Text> Distinct(const std::vector<Utf8Text>& names);

// The messages in the order the error stream gets them, without line ends:
// the details, the counts, one line naming the first ten connections and
// the backups, the command that undoes the run, then the hand-over and the restart.
std::vector<Utf8Text> MessageLines(const DeletionLines& lines);

// The same in the summary line: the counts, the connections and backups,
// the undo command, the hand-over and the restart, then the details, which
// are cut first.
void AddToSummary(SummaryLine& summary, const DeletionLines& lines);

// The run as it went, in its order: "deleted\tKEY", "deleted ip
// settings\tPATH", "uninstalled\tID" with "removed with device\tPATH" and
// "handed over\tGHOST KEY\tSUCCESSOR KEY\tSETTINGS" on standard output.
// names holds each planned entry's name; stopReason says why a stop stopped.
DeletionLines DescribeDeletion(const DeletionPlan& plan, const DeletionReport& report,
                               const std::vector<Utf8Text>& names, const AnsiCodec& codec,
                               const std::string& stopReason);

// What the run would do: "would delete\tKEY", "would delete ip settings\tPATH", "would uninstall\tID",
// "would hand over\t..."; wouldWrite names the backups it would write, and
// the forecast what they would hold: where one would not be whole, the run
// would stop (3), or with force go on (7).
DeletionLines DescribeDryRun(const DeletionPlan& plan, const std::vector<Utf8Text>& names,
                             const std::vector<Utf8Text>& wouldWrite, const BackupForecast& forecast, bool force,
                             const AnsiCodec& codec);

}  // namespace tarvex
