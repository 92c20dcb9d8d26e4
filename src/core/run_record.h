#pragma once

#include "core/backup_mode.h"
#include "core/deletion_plan.h"
#include "core/event_log.h"
#include "core/exit_codes.h"
#include "core/summary_line.h"
#include "util/encoded_text.h"

#include <optional>
#include <vector>

namespace tarvex {

// A run's record in the Application log, as Windows Installer leaves one:
// what it is about to change, just before its first change, and how it
// ended. A run that changes nothing leaves none, and one killed between
// the two leaves the first. A log that cannot be written changes nothing
// of the run but the failure it names.
class RunRecord {
public:
    // With no log, nothing is recorded; commandLine stands for the process's
    // own where the run was not started by one (the window's).
    explicit RunRecord(EventLog* log, std::optional<Utf8Text> commandLine = std::nullopt)
        : log_(log), commandLine_(std::move(commandLine)) {}

    // Once, just before the first change: the source's registration where
    // it is missing, then event 100 with what the run will do and the
    // backups already written.
    void AboutToChange(const DeletionPlan& plan, BackupMode mode, const std::vector<Utf8Text>& backups);
    // After a run that started (nothing for one that did not): its outcome's
    // event, whose text is the run's summary line; a failure to write either
    // event is added to it.
    void Ended(ExitCode code, SummaryLine& summary);
    // "event log: not written (CALL, status N)" for the first call that
    // failed; nothing while every one went.
    std::optional<Utf8Text> Failure() const;

private:
    void Note(const EventWritten& written);

    EventLog* log_;
    std::optional<Utf8Text> commandLine_;
    std::optional<RunIdentity> who_;
    std::optional<EventWritten> failure_;
};

// What a plan will change, for the record: "delete 3 entries, 8 IP settings
// keys; uninstall 1 device; hand over SETTINGS from GHOST to SUCCESSOR".
Utf8Text WhatItChanges(const DeletionPlan& plan);

}  // namespace tarvex
