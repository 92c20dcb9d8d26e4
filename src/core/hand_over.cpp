#include "core/hand_over.h"

#include "core/dated_file_name.h"
#include "export/backup_error.h"
#include "export/mod_export.h"
#include "export/reg_lines.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"

#include <string>

namespace tarvex {

namespace {

constexpr char kUndoStem[] = "HandOver";

// A name no file has yet, and that file created.
std::optional<Utf8Text> CreateUndoFile(BackupFiles& files, Clock& clock, const Utf8Text& backupFolder,
                                       std::unique_ptr<OutputFile>& file) {
    const LocalTime now = clock.LocalNow();
    for (int attempt = 1; attempt <= kDatedNameAttempts; ++attempt) {
        const Utf8Text name = DatedFileName(backupFolder, kUndoStem, now, attempt);
        if (files.KindOf(name) != PathKind::Missing) continue;
        file = files.Open(name, false);
        if (!file) return std::nullopt;
        return name;
    }
    return std::nullopt;
}

// The undo file: the successor's key as it is now.
std::optional<Utf8Text> WriteUndoFile(const Services& services, const AnsiText& key, const Utf8Text& backupFolder) {
    std::unique_ptr<OutputFile> file;
    const std::optional<Utf8Text> name = CreateUndoFile(services.files, services.clock, backupFolder, file);
    if (!name) return std::nullopt;
    // An import only adds and changes values: the key is deleted first, so
    // that the values the hand-over added go with the import too.
    bool whole = file->Write(kRegeditHeader + std::string("[-") + RootPrefix(kLocalMachine) + key + "]" + kLineEnd +
                             kLineEnd);
    whole = file->Close() && whole;
    file.reset();
    BackupError = false;
    const ExportPlatform platform{services.registry, services.files, services.pointer};
    whole = whole && ExportKey(platform, kLocalMachine, key, *name, true, true) && !BackupError;
    if (whole) return name;
    services.files.Remove(*name);
    return std::nullopt;
}

}  // namespace

bool CanCreateUndoFile(BackupFiles& files, Clock& clock, const Utf8Text& backupFolder) {
    std::unique_ptr<OutputFile> file;
    const std::optional<Utf8Text> name = CreateUndoFile(files, clock, backupFolder, file);
    if (!name) return false;
    const bool closed = file->Close();
    file.reset();
    files.Remove(*name);
    return closed;
}

HandOverResult HandOver(const Services& services, const HandOverPlan& plan, bool stopped,
                        const Utf8Text& backupFolder) {
    if (plan.refusal) return {false, *plan.refusal};
    if (stopped) return {false, "the run stopped before it"};
    // Checked, not assumed: an entry or settings that stayed would give two adapters one address.
    if (!KeyIsMissing(services.registry, kLocalMachine, plan.ghost.entryKey) ||
        !KeyIsMissing(services.registry, kLocalMachine, plan.ghost.interfacesKey)) {
        return {false, "the ghost's entry or IPv4 settings are still there"};
    }
    HandOverResult result;
    result.undoFile = WriteUndoFile(services, plan.successor.interfacesKey, backupFolder);
    if (!result.undoFile) return {false, "the undo file could not be written whole in " + backupFolder};
    UniqueKey key(services.registry);
    const Status opened = key.Open(kLocalMachine, plan.successor.interfacesKey, kKeyRead | kKeySetValue);
    if (opened != kSuccess) {
        result.reason = "opening " + plan.successor.interfacesKey + " to write gave status " + std::to_string(opened);
        return result;
    }
    for (const HandedValue& value : plan.values) {
        const Status written = services.registry.RegSetValueExA(key.get(), value.name, value.type, value.bytes);
        if (written != kSuccess) {
            result.reason = "writing " + value.name + " gave status " + std::to_string(written) +
                            "; the values before it were written";
            return result;
        }
    }
    result.done = true;
    return result;
}

}  // namespace tarvex
