#include "window/deletion_summary.h"

#include "util/powershell_quoted.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tarvex {

namespace {

Utf8Text Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Parts of the box, each a heading and its lines.
class Summary {
public:
    Summary(const DeletionPlan& plan, const DeletionReport& report, const std::optional<Utf8Text>& notRecorded)
        : plan_(plan), report_(report), notRecorded_(notRecorded) {}

    Utf8Text Text() {
        std::vector<Utf8Text> parts;
        Add(parts, KeptWhole());
        Add(parts, KeptSettings());
        Add(parts, Devices(Fate::Uninstalled, "adapter was uninstalled:", "adapters were uninstalled:"));
        Add(parts, Devices(Fate::Kept, "adapter was kept installed:", "adapters were kept installed:"));
        Add(parts, Devices(Fate::Failed, "adapter could not be uninstalled:", "adapters could not be uninstalled:"));
        Add(parts, FailedKeys());
        Add(parts, Left());
        if (report_.restartNeeded) parts.push_back("Windows asks for a restart to finish uninstalling the adapters.");
        Add(parts, HandOver());
        if (notRecorded_) parts.push_back("The Application log: " + notRecorded_->substr(notRecorded_->find(": ") + 2) + ".");
        // Named where there is a summary at all: a plain deletion shows no box.
        if (!parts.empty()) Add(parts, RunFile());
        Utf8Text text;
        for (const Utf8Text& part : parts) text += (text.empty() ? "" : "\n\n") + part;
        return text;
    }

private:
    static void Add(std::vector<Utf8Text>& parts, Utf8Text part) {
        if (!part.empty()) parts.push_back(std::move(part));
    }

    // Entries kept with their IP settings and adapter.
    Utf8Text KeptWhole() const {
        Utf8Text lines;
        std::size_t count = 0;
        for (const Outcome& outcome : report_.outcomes) {
            if (outcome.kind != ItemKind::Entry || outcome.fate != Fate::Kept) continue;
            ++count;
            lines.append("\n").append(outcome.what);
        }
        return count == 0 ? Utf8Text()
                          : Counted(count, "entry was kept whole, with its IP settings and adapter:",
                                    "entries were kept whole, with their IP settings and adapters:") +
                                lines;
    }

    // The IP settings of deleted entries that stay, counted by reason.
    Utf8Text KeptSettings() const {
        std::set<std::size_t> deletedEntries;
        for (const Outcome& outcome : report_.outcomes) {
            if (outcome.kind == ItemKind::Entry && outcome.fate == Fate::Deleted) deletedEntries.insert(outcome.entry);
        }
        std::map<std::size_t, KeptReason> keeping;
        for (const Outcome& outcome : report_.outcomes) {
            if (outcome.kind == ItemKind::IpSettings && outcome.fate == Fate::Kept && deletedEntries.count(outcome.entry)) {
                keeping.emplace(outcome.entry, *outcome.reason);
            }
        }
        if (keeping.empty()) return {};
        std::map<KeptReason, std::size_t> byReason;
        for (const auto& [entry, reason] : keeping) ++byReason[reason];
        Utf8Text text = Counted(keeping.size(), "deleted entry keeps its IP settings:", "deleted entries keep their IP settings:");
        for (const auto& [reason, count] : byReason) {
            text.append("\n").append(std::to_string(count)).append(": ").append(KeptReasonText(reason));
        }
        return text;
    }

    Utf8Text Devices(Fate fate, const char* one, const char* many) const {
        Utf8Text lines;
        std::size_t count = 0;
        for (const Outcome& outcome : report_.outcomes) {
            if (outcome.kind != ItemKind::Device || outcome.fate != fate) continue;
            ++count;
            lines.append("\n");
            if (!outcome.name.empty()) lines.append(outcome.name).append(", ");
            lines.append(outcome.what);
            if (fate == Fate::Kept) lines.append(": ").append(KeptText(outcome));
            if (fate == Fate::Failed) lines.append(": ").append(FailureText(outcome.error));
        }
        return count == 0 ? Utf8Text() : Counted(count, one, many) + lines;
    }

    Utf8Text FailedKeys() const {
        Utf8Text lines;
        std::size_t count = 0;
        for (const Outcome& outcome : report_.outcomes) {
            if (outcome.kind == ItemKind::Device || outcome.fate != Fate::Failed) continue;
            ++count;
            lines.append("\n").append(outcome.what);
        }
        return count == 0 ? Utf8Text() : Counted(count, "key could not be deleted:", "keys could not be deleted:") + lines;
    }

    Utf8Text Left() const {
        std::map<ItemKind, std::size_t> left;
        for (const Outcome& outcome : report_.outcomes) {
            if (outcome.fate == Fate::Left) ++left[outcome.kind];
        }
        if (left.empty()) return {};
        Utf8Text text = "The deletion stopped. Left as they were:";
        const std::pair<ItemKind, std::pair<const char*, const char*>> kinds[] = {
            {ItemKind::Entry, {"entry", "entries"}},
            {ItemKind::IpSettings, {"IP-settings key", "IP-settings keys"}},
            {ItemKind::Device, {"adapter", "adapters"}}};
        for (const auto& [kind, words] : kinds) {
            if (left.count(kind)) text.append("\n").append(Counted(left[kind], words.first, words.second));
        }
        return text;
    }

    // The one file that undoes this run alone.
    Utf8Text RunFile() const {
        if (!report_.runFile) return {};
        return "What was deleted is saved in " + *report_.runFile + ". To restore it, run in PowerShell:\nreg import " +
               PowerShellQuoted(*report_.runFile);
    }

    Utf8Text HandOver() const {
        if (!plan_.handOver || !report_.handOver) return {};
        const HandOverPlan& plan = *plan_.handOver;
        const HandOverResult& result = *report_.handOver;
        const Utf8Text undo = result.undoFile ? "reg import " + PowerShellQuoted(*result.undoFile) : Utf8Text();
        if (result.partial) {
            return "The IPv4 settings were only partly handed over to " + plan.successor.connection +
                   ", and could not all be put back: " + result.reason + ".\nTo give it back its settings, run in "
                   "PowerShell, then restart Windows:\n" + undo;
        }
        if (plan.heldBy) return "Nothing needed handing over: " + result.reason + ".";
        if (!result.done) {
            if (!HandOverRequired(plan)) return {};
            return "No IPv4 settings were handed over: " + result.reason + "." +
                   (result.undoFile ? "\nShould " + plan.successor.connection + " still differ, run in PowerShell:\n" + undo
                                    : Utf8Text());
        }
        Utf8Text text = "The IPv4 settings of " + plan.ghost.connection + " were handed over to " +
                        plan.successor.connection + ". They take effect when Windows restarts.\n";
        if (const std::optional<Utf8Text> rename = RenameCommand(plan)) {
            text += "The name " + *plan.freeName + " is free now. To give it to " + plan.successor.connection +
                    ", run in PowerShell:\n" + *rename;
        } else {
            text += "The name " + plan.ghost.connection + " is free now, but " + plan.whyNoFreeName +
                    ", so no command to take it is given.";
        }
        return text + "\nTo undo the hand-over, run in PowerShell, then restart Windows:\n" + undo;
    }

    const DeletionPlan& plan_;
    const DeletionReport& report_;
    const std::optional<Utf8Text>& notRecorded_;
};

bool Has(const DeletionReport& report, Fate fate) {
    for (const Outcome& outcome : report.outcomes) {
        if (outcome.fate == fate) return true;
    }
    return false;
}

}  // namespace

std::optional<DeletionSummary> SummarizeDeletion(const DeletionPlan& plan, const DeletionReport& report,
                                                 const std::optional<Utf8Text>& notRecorded) {
    const bool failed = Has(report, Fate::Failed);
    // A stop the user chose keeps the window as it was, unless something
    // already happened that no rescan shows.
    if (report.stopped && !failed && !report.restartNeeded && !Has(report, Fate::Uninstalled) && !notRecorded) {
        return std::nullopt;
    }
    const Utf8Text text = Summary(plan, report, notRecorded).Text();
    if (text.empty()) return std::nullopt;
    // Rows that do not pair are no failure: nothing was asked.
    const bool handOverFailed = plan.handOver && Paired(*plan.handOver) && report.handOver && !report.handOver->done;
    const bool warn = failed || RestartNeeded(report) || report.stopped || handOverFailed;
    return DeletionSummary{text, warn ? MessageIcon::Warning : MessageIcon::Information};
}

}  // namespace tarvex
