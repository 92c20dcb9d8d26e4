#include "core/run_record.h"

#include "core/hand_over_plan.h"
#include "core/run_events.h"

#include <string>

namespace tarvex {

namespace {

Utf8Text Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

const char* ModeWord(BackupMode mode) {
    switch (mode) {
        case BackupMode::Selective: return "selective";
        case BackupMode::Full: return "full";
        case BackupMode::None: break;
    }
    return "none";
}

}  // namespace

Utf8Text WhatItChanges(const DeletionPlan& plan) {
    std::size_t entries = 0, settings = 0, profiles = 0, signatures = 0;
    for (const PlannedEntry& entry : plan.entries) {
        if (entry.keptWhole) continue;
        (entry.kind == ItemKind::Profile ? profiles : entries) += 1;
        settings += entry.ipSettings.size();
        signatures += entry.signatures.size();
    }
    std::vector<Utf8Text> deletes;
    if (entries > 0) deletes.push_back(Counted(entries, "entry", "entries"));
    if (settings > 0) deletes.push_back(Counted(settings, "IP settings key", "IP settings keys"));
    if (profiles > 0) deletes.push_back(Counted(profiles, "network profile", "network profiles"));
    if (signatures > 0) deletes.push_back(Counted(signatures, "signature", "signatures"));
    Utf8Text what = "delete " + JoinTexts(deletes, ", ");
    if (!plan.devices.empty()) what += "; uninstall " + Counted(plan.devices.size(), "device", "devices");
    if (plan.handOver && Paired(*plan.handOver)) {
        what += "; hand over " + SettingsText(plan.handOver->settings) + " from " + Named(plan.handOver->ghost) + " to " +
                Named(plan.handOver->successor);
    }
    return what;
}

void RunRecord::AboutToChange(const DeletionPlan& plan, BackupMode mode, const std::vector<Utf8Text>& backups) {
    if (log_ == nullptr || who_) return;
    who_ = log_->Identity();
    if (commandLine_) who_->commandLine = *commandLine_;
    Note(log_->Register());
    const std::vector<Utf8Text> written =
        mode == BackupMode::None ? std::vector<Utf8Text>{} : std::vector<Utf8Text>{Utf8Text(ModeWord(mode)) + ": " +
                                                                                   JoinTexts(backups, ", ")};
    Note(log_->Report(AboutToChangeEvent(WhatItChanges(plan), written, *who_)));
}

void RunRecord::Ended(ExitCode code, SummaryLine& summary) {
    if (!who_) return;
    const bool failedBefore = failure_.has_value();
    if (failedBefore) summary.Add(*Failure());
    Utf8Text line = summary.Text();
    line.resize(line.size() - 2);  // its CR LF
    if (const std::optional<EventRecord> event = OutcomeEvent(static_cast<int>(code), line, *who_)) {
        Note(log_->Report(*event));
    }
    if (!failedBefore && failure_) summary.Add(*Failure());
}

std::optional<Utf8Text> RunRecord::Failure() const {
    if (!failure_) return std::nullopt;
    return "event log: " + EventWrittenText(*failure_);
}

void RunRecord::Note(const EventWritten& written) {
    if (!written.written() && !failure_) failure_ = written;
}

}  // namespace tarvex
