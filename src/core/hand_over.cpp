#include "core/hand_over.h"

#include "core/dated_file_name.h"
#include "core/key_values.h"
#include "core/successor_rules.h"
#include "export/backup_error.h"
#include "export/mod_export.h"
#include "export/reg_lines.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"

#include <string>

namespace tarvex {

namespace {

constexpr char kUndoStem[] = "HandOver";

// A name no file has yet, and that file made, empty.
std::optional<Utf8Text> CreateUndoFile(BackupFiles& files, Clock& clock, const Utf8Text& backupFolder) {
    const LocalTime now = clock.LocalNow();
    for (int attempt = 1; attempt <= kDatedNameAttempts; ++attempt) {
        const Utf8Text name = DatedFileName(backupFolder, kUndoStem, now, attempt);
        if (files.KindOf(name) != PathKind::Missing) continue;
        std::unique_ptr<OutputFile> file = files.Open(name, false);
        if (!file) return std::nullopt;
        const bool closed = file->Close();
        file.reset();
        if (closed) return name;
        files.Remove(name);
        return std::nullopt;
    }
    return std::nullopt;
}

// Exactly what the hand-over changes: each value it writes as it is now,
// or a line that deletes it, so that an import later leaves everything
// Windows wrote since alone. Opened again by name, never through a link.
bool FillUndoFile(BackupFiles& files, const Utf8Text& path, const AnsiText& key,
                  const std::vector<StoredValue>& handed, const KeyValues& now) {
    std::unique_ptr<OutputFile> file = files.Open(path, true);
    if (!file || file->IsLinked()) return false;
    BackupError = false;
    std::string text = kRegeditHeader + KeyLine(RootPrefix(kLocalMachine), key);
    for (const StoredValue& value : handed) {
        const StoredValue* was = now.Get(value.name);
        text += was ? ValueLine(ValueEntryOf(was->name, was->type, {was->bytes.begin(), was->bytes.end()}))
                    : DeletedValueLine(value.name);
    }
    const bool whole = !BackupError && file->Write(text + kLineEnd);
    return file->Close() && whole;
}

// The successor's values, written in the plan's order; on the first
// failure, those written before it put back as they were (a value it did
// not have deleted, which counts as done when it is not there). A call that
// fails leaves its value as it was, the first as any later one.
class Writes {
public:
    Writes(RegistryApi& registry, KeyHandle key, const KeyValues& before)
        : registry_(registry), key_(key), before_(before) {}

    HandOverResult Make(const HandOverPlan& plan) {
        HandOverResult result{false, false, {}, plan.undoFile};
        for (std::size_t i = 0; i < plan.values.size(); ++i) {
            const StoredValue& value = plan.values[i];
            const Status written = registry_.RegSetValueExA(key_, value.name, value.type, value.bytes);
            if (written == kSuccess) continue;
            result.reason = "writing " + value.name + " gave status " + std::to_string(written);
            if (i == 0) {
                result.undoFile.reset();  // nothing was written
                return result;
            }
            for (std::size_t back = i; back-- > 0;) {
                const Status put = PutBack(plan.values[back]);
                if (put == kSuccess) continue;
                result.partial = true;
                result.reason += ", and putting " + plan.values[back].name + " back gave status " + std::to_string(put);
            }
            if (!result.partial) result.reason += "; the values written before it were put back as they were";
            return result;
        }
        result.done = true;
        return result;
    }

private:
    Status PutBack(const StoredValue& value) {
        if (const StoredValue* was = before_.Get(value.name)) {
            return registry_.RegSetValueExA(key_, was->name, was->type, was->bytes);
        }
        const Status deleted = registry_.RegDeleteValueA(key_, value.name);
        return deleted == kFileNotFound ? kSuccess : deleted;
    }

    RegistryApi& registry_;
    KeyHandle key_;
    const KeyValues& before_;
};

HandOverResult Attempt(const Services& services, const HandOverPlan& plan, bool stopped) {
    if (const std::optional<Utf8Text> why = WhyNotPaired(plan)) return {false, false, *why};
    if (stopped) return {false, false, "the run stopped before it"};
    // Checked, not assumed: an entry or settings that stayed would give two adapters one address.
    if (!KeyIsMissing(services.registry, kLocalMachine, plan.ghost.entryKey) ||
        !KeyIsMissing(services.registry, kLocalMachine, plan.ghost.interfacesKey)) {
        return {false, false, "the ghost's entry or IPv4 settings are still there"};
    }
    if (!plan.undoFile) return {false, false, "no undo file was made for it"};
    UniqueKey key(services.registry);
    const Status opened = key.Open(kLocalMachine, plan.successor.interfacesKey, kKeyRead | kKeySetValue);
    if (opened != kSuccess) {
        return {false, false, "opening " + plan.successor.interfacesKey + " to write gave status " + std::to_string(opened)};
    }
    // Read just before the first write: the questions, backups and
    // uninstalls took time, in which the adapter may have taken a lease
    // or been given an address.
    const KeyValues now = ReadKeyValues(services, key.get());
    // Keys outlive their device: one unplugged meanwhile would take an address it cannot use.
    const PresenceCheck presence = services.installer.CheckPresence(plan.successorAdapter.instanceId);
    if (presence.presence == Presence::NotPresent) return {false, false, Named(plan.successor) + " is no longer present"};
    if (presence.presence == Presence::Unknown) {
        return {false, false, "whether " + Named(plan.successor) + " is still present could not be checked" +
                                  (presence.error ? ": " + FailureText(*presence.error) : Utf8Text())};
    }
    const bool hasEntry = !KeyIsMissing(services.registry, kLocalMachine, plan.successor.entryKey);
    if (const std::optional<Utf8Text> why = WhyNotSuccessor(services, plan.successorAdapter, hasEntry, now, plan.settings)) {
        return {false, false, plan.successor.connection + " changed since the deletion was planned: " + *why};
    }
    for (const StoredValue& value : plan.values) {
        // A value the undo file could not hold exactly could not be put back.
        if (!now.Carried(value.name)) {
            return {false, false, "the new adapter's " + value.name + " cannot be kept exactly in the ANSI code page"};
        }
    }
    if (!FillUndoFile(services.files, *plan.undoFile, plan.successor.interfacesKey, plan.values, now)) {
        return {false, false, "the undo file " + *plan.undoFile + " could not be written whole"};
    }
    return Writes(services.registry, key.get(), now).Make(plan);
}

}  // namespace

bool PrepareUndoFile(const Services& services, HandOverPlan& plan, const Utf8Text& backupFolder, bool dryRun) {
    const std::optional<Utf8Text> made = CreateUndoFile(services.files, services.clock, backupFolder);
    if (!made) return false;
    if (dryRun) {
        services.files.Remove(*made);
    } else {
        plan.undoFile = made;
    }
    return true;
}

Utf8Text UndoFilePattern(const Utf8Text& backupFolder) { return DatedFilePattern(backupFolder, kUndoStem); }

HandOverResult HandOver(const Services& services, const HandOverPlan& plan, bool stopped) {
    HandOverResult result = Attempt(services, plan, stopped);
    if (plan.undoFile && !result.undoFile) services.files.Remove(*plan.undoFile);
    return result;
}

}  // namespace tarvex
