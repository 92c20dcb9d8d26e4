#include "console/help_text.h"

#include "core/exit_codes.h"

#include <algorithm>
#include <vector>

namespace tarvex {

namespace {

constexpr char kListSynopsis[] =
    "  tarvex list   [--profiles] [--stale [--not-seen-for DAYS]] [--name PATTERN]\n"
    "                [--format tsv|json|summary]\n";
constexpr char kCheckSynopsis[] =
    "  tarvex check  [--profiles] [--not-seen-for DAYS] [--name PATTERN]\n"
    "                [--format summary]\n";
constexpr char kDeleteSynopsis[] =
    "  tarvex delete (--stale [--not-seen-for DAYS] | --key PATH...)\n"
    "                [--name PATTERN] [--with-ip-settings] [--uninstall-devices]\n"
    "                [--hand-over | --hand-over-to GUID]\n"
    "                [--backup selective|full|none] [--backup-dir DIR]\n"
    "                [--dry-run] [--force] [--no-event-log]\n"
    "                [--format tsv|json|summary]\n"
    "  tarvex delete --profiles (--stale [--not-seen-for DAYS] | --profile GUID...)\n"
    "                [--name PATTERN] [--backup selective|none] [--backup-dir DIR]\n"
    "                [--dry-run] [--force] [--no-event-log]\n"
    "                [--format tsv|json|summary]\n";

constexpr char kGeneral[] =
    "tarvex lists, checks and deletes the network connection entries Windows\n"
    "keeps in the registry, backing each key up first; with a ghost adapter's\n"
    "entry it can delete its IP settings, uninstall its device and hand its\n"
    "static IPv4 address to the adapter that replaced it.\n"
    "\n"
    "Commands:\n"
    "  list     print every connection entry: TSV, JSON or one summary line\n"
    "  check    count the stale entries; exit 1 when there are any\n"
    "  delete   back up and delete the stale entries, or the keys given\n"
    "  help     this text, or with a command's name that command's help\n"
    "\n"
    "An entry is stale when its adapter has no device at all, or is not\n"
    "present and was last seen at least 30 days ago (--not-seen-for).\n"
    "With --profiles each command takes the network profiles instead (Network,\n"
    "Network 2, Network 3, ...): a profile is stale when it is not connected now\n"
    "and was last connected at least 30 days ago; one with no date never is.\n"
    "\n"
    "For a command's options, defaults, examples and exit codes:\n"
    "  tarvex help COMMAND      or      tarvex COMMAND /?\n"
    "tarvex --version prints the version. Words and options are taken in any\n"
    "case, and an option's value also as --option=value.\n";

constexpr char kProfilesOption[] =
    "  --profiles           network profiles in place of connection entries: a\n"
    "                       profile is stale when it is not connected now and\n"
    "                       was last connected at least --not-seen-for days\n"
    "                       ago, and one with no date never is; --name\n"
    "                       matches its ProfileName\n";

constexpr char kStaleOptions[] =
    "  --stale              only stale entries: the adapter has no device, or\n"
    "                       is not present and was last seen at least\n"
    "                       --not-seen-for days ago\n"
    "  --not-seen-for DAYS  with --stale: how long a not-present adapter, or a\n"
    "                       profile, must have been away, 0 to 36500 (default\n"
    "                       30); with 0, entries with no date count too\n"
    "  --name PATTERN       only entries whose connection name matches, with\n"
    "                       * and ? as wildcards, in any case\n";

constexpr char kList[] =
    "Prints every connection entry of the four control sets, one row each:\n"
    "control set, connection, adapter (Present, Not present, No device),\n"
    "device, key, last seen (UTC) and IPv4 settings.\n"
    "\n"
    "Options:\n";
constexpr char kListFormat[] =
    "  --format FORMAT      tsv (default): a header line, then a row each;\n"
    "                       json: one array of objects, in ASCII;\n"
    "                       summary: one line for fleet tools\n"
    "\n"
    "Examples:\n"
    "  tarvex list\n"
    "  tarvex list --stale --format json\n"
    "  tarvex list --profiles --name \"Network *\"\n";

constexpr char kCheck[] =
    "Prints the number of stale connection entries and exits 1 when there are\n"
    "any: an entry is stale when its adapter has no device, or is not present\n"
    "and was last seen at least --not-seen-for days ago. The error stream\n"
    "names them, each connection once (one entry a control set).\n"
    "\n"
    "Options:\n"
    "  --profiles           count stale network profiles instead\n"
    "  --stale              taken, and changes nothing: check counts only these\n"
    "  --not-seen-for DAYS  how long a not-present adapter, or a profile, must\n"
    "                       have been away, 0 to 36500 (default 30); with 0,\n"
    "                       entries with no date count too\n"
    "  --name PATTERN       only entries whose connection name matches, with\n"
    "                       * and ? as wildcards, in any case\n"
    "  --format summary     one line for fleet tools in place of the number\n"
    "\n"
    "Examples:\n"
    "  tarvex check\n"
    "  tarvex check --not-seen-for 90 --format summary\n";

constexpr char kDelete[] =
    "Deletes connection entries, each key with its subtree, backing each up\n"
    "first in a REGEDIT4 file that reg import restores.\n"
    "\n"
    "Which entries (--stale or --key, not both):\n";
constexpr char kDeleteOptions[] =
    "  --key PATH...        these keys, as list shows them; HKLM\\, HKLM:\\,\n"
    "                       Registry::HKEY_LOCAL_MACHINE\\ or regedit's\n"
    "                       Computer\\HKEY_LOCAL_MACHINE\\ may stand before\n"
    "\n"
    "What else goes:\n"
    "  --with-ip-settings   the IP settings of entries whose adapter has no\n"
    "                       device; present and installed adapters keep theirs\n"
    "  --uninstall-devices  the entries' adapters that are not present\n"
    "  --hand-over          give a ghost's static IPv4 settings to the one\n"
    "                       present adapter that can take them; needs\n"
    "                       --with-ip-settings; an undo file is written first\n"
    "  --hand-over-to GUID  the same, to the adapter with that GUID\n"
    "\n"
    "Network profiles (with --profiles, in place of the above):\n"
    "  --profiles           delete network profiles, each key with the\n"
    "                       signatures that name it; never a connected one\n"
    "  --profile GUID...    these profiles' keys, braces optional; or --stale\n"
    "\n"
    "Backups:\n"
    "  --backup MODE        selective (default): each key is appended to\n"
    "                       SmallBackup.reg just before it goes; full: the four\n"
    "                       Network trees go into LargeBackup.reg first (not\n"
    "                       with --profiles); none. With a backup, each run\n"
    "                       also writes Tarvex-YYYYMMDD-HHMMSS.reg, exactly\n"
    "                       what it deletes, whatever its characters; to undo\n"
    "                       that run alone, in PowerShell: reg import 'FILE'\n"
    "                       (with /reg:64 after it for profiles)\n"
    "  --backup-dir DIR     an existing folder for them; default: the folder\n"
    "                       tarvex.exe is in\n"
    "  --force              go on past an incomplete backup (exits 7); a backup\n"
    "                       that cannot be written always stops the run\n"
    "  --no-event-log       write no record of the run to the Application log\n"
    "                       (by default a run that changes something writes\n"
    "                       two events under the source Tarvex)\n"
    "  --dry-run            check rights and backup files, print what would be\n"
    "                       done, change nothing; exits as the run would stop\n"
    "  --format FORMAT      tsv (default): a line per key; json: one report;\n"
    "                       summary: one line for fleet tools\n"
    "\n"
    "Examples:\n"
    "  tarvex delete --stale --dry-run\n"
    "  tarvex delete --stale --with-ip-settings --uninstall-devices\n"
    "  tarvex delete --profiles --stale --not-seen-for 90\n"
    "  tarvex delete --key \"HKLM\\SYSTEM\\ControlSet001\\Control\\Network\\{...}\\{...}\"\n";

struct CodeMeaning {
    ExitCode code;
    const char* meaning;  // each line after the first starts at the meaning's column
};

constexpr CodeMeaning kMeanings[] = {
    {ExitCode::StaleFound, "check found stale entries"},
    {ExitCode::Usage, "usage error: nothing was read or changed"},
    {ExitCode::BackupIncomplete, "stopped by a backup that cannot be written, or is incomplete"},
    {ExitCode::NoAdminRights, "no administrator rights"},
    {ExitCode::DeletionFailed, "some deletions or uninstalls failed; the rest went ahead"},
    {ExitCode::StaleUnknown, "the network devices could not be listed, so nothing counts\n"
                             "        as stale; nothing deleted"},
    {ExitCode::DoneWithIncompleteBackup, "done, but --force deleted keys with an incomplete backup"},
    {ExitCode::Unfinished, "standard output could not be written, or an unexpected failure"},
    {ExitCode::HandOverFailed, "a ghost had static IPv4 settings and none were handed over"},
    {ExitCode::HandOverPartial, "a hand-over is half written: import its undo file, and do\n"
                                "        not restart before"},
    {ExitCode::RestartNeeded, "done; restart Windows to finish uninstalls or a hand-over"},
};

// The codes a command can exit with; what 0 means is its own.
Utf8Text ExitCodes(const char* done, const std::vector<ExitCode>& codes, const char* heading) {
    Utf8Text text = std::string("\n") + heading + "\n  0     " + done + "\n";
    for (const CodeMeaning& meaning : kMeanings) {
        if (std::find(codes.begin(), codes.end(), meaning.code) == codes.end()) continue;
        Utf8Text code = std::to_string(static_cast<int>(meaning.code));
        text += "  " + code + std::string(6 - code.size(), ' ') + meaning.meaning + "\n";
    }
    return text;
}

}  // namespace

Utf8Text HelpText(const std::optional<std::string>& command) {
    using enum ExitCode;
    if (!command) return kGeneral;
    if (*command == "list") {
        return "usage:\n" + Utf8Text(kListSynopsis) + "\n" + kList + kProfilesOption + kStaleOptions + kListFormat +
               ExitCodes("listed", {Usage, NoAdminRights, StaleUnknown, Unfinished}, "Exit codes (6 only with --stale):");
    }
    if (*command == "check") {
        return "usage:\n" + Utf8Text(kCheckSynopsis) + "\n" + kCheck +
               ExitCodes("nothing stale", {StaleFound, Usage, NoAdminRights, StaleUnknown, Unfinished}, "Exit codes:");
    }
    return "usage:\n" + Utf8Text(kDeleteSynopsis) + "\n" + kDelete + kStaleOptions + kDeleteOptions +
           ExitCodes("done: every key deleted is in a complete backup, or --backup none\n"
                     "        was asked; for --dry-run, nothing stands in the way",
                     {Usage, BackupIncomplete, NoAdminRights, DeletionFailed, StaleUnknown,
                      DoneWithIncompleteBackup, Unfinished, HandOverFailed, HandOverPartial, RestartNeeded},
                     "Exit codes (where several are met, the first of 10, 3, 5, 9, 7, 8, 3010):");
}

}  // namespace tarvex
