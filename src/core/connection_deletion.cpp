#include "core/connection_deletion.h"

#include "core/full_backup.h"
#include "core/network_paths.h"
#include "export/backup_error.h"
#include "export/mod_export.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"

namespace tarvex {

namespace {

// Deleted, or gone before its turn (with its twin under the other control
// set); a key that stays unopened is still there; after a failed deletion,
// whatever is left is looked for.
KeyOutcome DeleteAndLook(RegistryApi& registry, const AnsiText& key) {
    const KeyDeletion deletion = TryDeleteKey(registry, kLocalMachine, key);
    if (!deletion.opened) return deletion.status == kFileNotFound ? KeyOutcome::Deleted : KeyOutcome::StillThere;
    if (deletion.status == kSuccess) return KeyOutcome::Deleted;
    UniqueKey left(registry);
    return left.Open(kLocalMachine, key, kEnumerateSubKeys) == kFileNotFound ? KeyOutcome::Deleted
                                                                               : KeyOutcome::StillThere;
}

// One run of a plan; each destructive act passes its gate here.
class DeletionRun {
public:
    DeletionRun(const Services& services, const DeletionPlan& plan, BackupMode mode, BackupWarning& warning,
                const Utf8Text& backupFolder)
        : platform_{services.registry, services.files, services.pointer},
          services_(services),
          plan_(plan),
          mode_(mode),
          warning_(warning),
          smallBackup_(backupFolder + kSmallBackupFile),
          devices_(plan.devices.size()) {
        if (mode_ != BackupMode::Full) return;
        std::vector<AnsiText> keys(kNetworkPaths.begin(), kNetworkPaths.end());
        for (const PlannedEntry& entry : plan.entries) keys.insert(keys.end(), entry.ipSettings.begin(), entry.ipSettings.end());
        const FullBackup full = WriteFullBackup(platform_, services.clock, warning, keys, backupFolder);
        full_ = full.answer;
        if (full.file) report_.backups.push_back(*full.file);
        report_.stopped = !full_.goOn;
    }

    DeletionReport Carry() {
        for (std::size_t entry = 0; entry < plan_.entries.size() && !report_.stopped; ++entry) Entry(entry);
        return std::move(report_);
    }

private:
    void Entry(std::size_t index) {
        const PlannedEntry& entry = plan_.entries[index];
        if (!Delete(entry.key, KeyKind::Entry, index)) return;
        // An entry that stayed keeps its settings and device: they would serve it again.
        if (report_.keys.back().outcome != KeyOutcome::Deleted) return;
        // A not-present adapter's settings go only with its device.
        if (!entry.device || StillAbsent(*entry.device, index)) {
            for (const AnsiText& key : entry.ipSettings) {
                if (!Delete(key, KeyKind::IpSettings, index)) return;
            }
        }
        if (entry.device) UninstallOnce(*entry.device, index);
    }

    // Backs up and deletes one key; false when a backup warning stops the run first.
    bool Delete(const AnsiText& key, KeyKind kind, std::size_t entry) {
        BackupAnswer answer = full_;
        if (mode_ == BackupMode::Selective) {
            BackupError = false;
            BackupProblem problem{smallBackup_};
            problem.written = ExportKey(platform_, kLocalMachine, key, smallBackup_, true, true);
            problem.complete = !BackupError;
            if (problem.written && report_.backups.empty()) report_.backups.push_back(smallBackup_);
            answer = AskAboutBackup(warning_, problem);
            if (!answer.goOn) {
                report_.stopped = true;
                return false;
            }
        }
        report_.keys.push_back({key, DeleteAndLook(platform_.registry, key), answer.incomplete, kind, entry});
        return true;
    }

    enum class DeviceState { Pending, Uninstalled, Done };

    // Whether the device is still not present; one found present or that
    // cannot be checked is kept, and never uninstalled.
    bool StillAbsent(std::size_t device, std::size_t entry) {
        if (devices_[device] != DeviceState::Pending) return devices_[device] == DeviceState::Uninstalled;
        const PresenceCheck check = services_.installer.CheckPresence(plan_.devices[device].instanceId);
        if (check.presence == Presence::NotPresent) return true;
        devices_[device] = DeviceState::Done;
        const KeptReason reason =
            check.presence == Presence::Present ? KeptReason::ConnectedSinceScan : KeptReason::NotChecked;
        report_.devices.push_back({plan_.devices[device], entry, DeviceOutcome::Kept, reason, check.error});
        return false;
    }

    void UninstallOnce(std::size_t device, std::size_t entry) {
        // Asked again just before: it may have been plugged in since.
        if (devices_[device] != DeviceState::Pending || !StillAbsent(device, entry)) return;
        const PlannedDevice& planned = plan_.devices[device];
        const UninstallResult result = services_.installer.Uninstall(planned.instanceId);
        devices_[device] = result.uninstalled ? DeviceState::Uninstalled : DeviceState::Done;
        report_.devices.push_back({planned, entry, result.uninstalled ? DeviceOutcome::Uninstalled : DeviceOutcome::Failed,
                                   {}, result.error, result.restartNeeded});
        report_.restartNeeded = report_.restartNeeded || result.restartNeeded;
    }

    ExportPlatform platform_;
    const Services& services_;
    const DeletionPlan& plan_;
    BackupMode mode_;
    BackupWarning& warning_;
    Utf8Text smallBackup_;
    BackupAnswer full_;
    std::vector<DeviceState> devices_;
    DeletionReport report_;
};

// While the user is asked, the pointer is the one the run began with.
class AskedWithThePointer final : public BackupWarning {
public:
    AskedWithThePointer(BackupWarning& warning, MousePointer* pointer)
        : warning_(warning), pointer_(pointer), before_(pointer != nullptr ? pointer->Current() : kDefaultPointer) {}

    bool GoOnWithoutFullBackup(const BackupProblem& problem) override {
        Shown asked(pointer_, before_);
        return warning_.GoOnWithoutFullBackup(problem);
    }
    void KeptAside(const BackupProblem& problem) override {
        Shown told(pointer_, before_);
        warning_.KeptAside(problem);
    }

private:
    class Shown {
    public:
        Shown(MousePointer* pointer, int shown) : pointer_(pointer) {
            if (pointer_ != nullptr) pointer_->Set(shown);
        }
        Shown(const Shown&) = delete;
        Shown& operator=(const Shown&) = delete;
        ~Shown() {
            if (pointer_ != nullptr) pointer_->Set(kHourglassPointer);
        }

    private:
        MousePointer* pointer_;
    };

    BackupWarning& warning_;
    MousePointer* pointer_;
    int before_;
};

}  // namespace

DeletionReport DeleteAsPlanned(const Services& services, const DeletionPlan& plan, BackupMode mode,
                               BackupWarning& warning, const Utf8Text& backupFolder) {
    AskedWithThePointer asked(warning, services.pointer);
    // One hourglass for the whole run: each backup's own would only show it again.
    HourglassScope hourglass(services.pointer);
    return DeletionRun(services, plan, mode, asked, backupFolder).Carry();
}

}  // namespace tarvex
