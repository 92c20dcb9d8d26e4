#include "core/connection_deletion.h"

#include "core/dated_file_name.h"
#include "core/full_backup.h"
#include "core/regedit4_blocks.h"
#include "core/run_file.h"
#include "export/append_blocks.h"
#include "core/network_profiles.h"
#include "export/backup_error.h"
#include "export/mod_export.h"
#include "registry/mod_reg.h"
#include "registry/unique_key.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>

namespace tarvex {

namespace {

// Deleted, or gone before its turn (with its twin under the other control
// set); a key that stays unopened is still there; after a failed deletion,
// whatever is left is looked for.
bool DeleteAndLook(RegistryApi& registry, const AnsiText& key) {
    const KeyDeletion deletion = TryDeleteKey(registry, kLocalMachine, key);
    if (!deletion.opened) return deletion.status == kFileNotFound;
    return deletion.status == kSuccess || KeyIsMissing(registry, kLocalMachine, key);
}

// One run of a plan; each destructive act passes its gate here.
class DeletionRun {
public:
    DeletionRun(const Services& services, const DeletionPlan& plan, BackupMode mode, BackupWarning& warning,
                const Utf8Text& backupFolder, Regedit4Loss loss, RunRecord* record)
        : platform_{services.registry, services.files, services.pointer},
          services_(services),
          plan_(plan),
          mode_(mode),
          loss_(loss),
          record_(record),
          warning_(warning),
          smallBackup_(backupFolder + kSmallBackupFile),
          devices_(plan.devices.size()) {
        if (mode_ == BackupMode::None || !WriteRunFile(backupFolder) || mode_ != BackupMode::Full) return;
        const FullBackup full = WriteFullBackup(platform_, services.clock, warning, FullBackupKeys(plan), backupFolder);
        full_ = full.answer;
        if (full.file) report_.backups.push_back(*full.file);
        report_.stopped = !full_.goOn;
    }

    DeletionReport Carry() {
        for (std::size_t entry = 0; entry < plan_.entries.size(); ++entry) {
            if (report_.stopped) {
                Leave(entry);
            } else {
                Entry(entry);
            }
        }
        Finish();
        CutRunFile();
        if (plan_.handOver) {
            report_.handOver = HandOver(services_, *plan_.handOver, report_.stopped);
            if (report_.handOver->undoFile) report_.backups.push_back(*report_.handOver->undoFile);
        }
        return std::move(report_);
    }

private:
    enum class DeviceState { Pending, Uninstalled, Kept };
    struct Device {
        DeviceState state = DeviceState::Pending;
        KeptReason reason = KeptReason::ConnectedSinceScan;  // why its entries keep their settings
    };

    void Entry(std::size_t index) {
        const PlannedEntry& entry = plan_.entries[index];
        if (entry.keptWhole) {
            Add(KeptWhole(entry, index));
            return KeepPlannedSettings(index);
        }
        if (entry.kind == ItemKind::Profile && KeptAsConnected(index)) return;
        const BackupAnswer answer = BackUp({entry.key}, index);
        if (!answer.goOn) return Leave(index);
        const bool gone = Delete(entry.key);
        Add({entry.kind, gone ? Fate::Deleted : Fate::Failed, entry.key, index, {}, {}, gone && answer.incomplete});
        KeepPlannedSettings(index);
        // An entry that stayed keeps its settings and device: they would serve it again.
        if (!gone) return KeepSettings(index, KeptReason::EntryNotDeleted);
        if (!entry.device || devices_[*entry.device].state == DeviceState::Uninstalled) {
            return DeleteSettings(index, 0);
        }
        if (devices_[*entry.device].state == DeviceState::Kept) return KeepSettings(index, devices_[*entry.device].reason);
        UninstallFirst(index, *entry.device);
    }

    // Asked again just before it goes: its network may have connected since the scan.
    bool KeptAsConnected(std::size_t index) {
        const PlannedEntry& profile = plan_.entries[index];
        const PresenceCheck look = IsConnectedNow(services_, profile.key);
        if (look.presence == Presence::NotPresent) return false;
        Outcome kept{ItemKind::Profile, Fate::Kept, profile.key, index,
                     look.presence == Presence::Present ? KeptReason::ConnectedSinceScan : KeptReason::ConnectionNotChecked,
                     look.error};
        Add(std::move(kept));
        KeepSettings(index, *report_.outcomes.back().reason);
        return true;
    }

    // A not-present adapter's settings go only with its device: backed up
    // with what the uninstall may take, then the device, then what is left.
    void UninstallFirst(std::size_t index, std::size_t device) {
        const PlannedEntry& entry = plan_.entries[index];
        const PlannedDevice& planned = plan_.devices[device];
        std::vector<AnsiText> atRisk = entry.ipSettings;
        for (const AnsiText& key : planned.mayTakeWith) {
            if (std::find(atRisk.begin(), atRisk.end(), key) == atRisk.end()) atRisk.push_back(key);
        }
        const BackupAnswer answer = BackUp(atRisk, index);
        if (!answer.goOn) return LeaveSettings(index, 0);

        Outcome result{ItemKind::Device, Fate::Uninstalled, planned.instanceId, index};
        result.name = planned.name;
        // Asked again just before: it may have been plugged in since.
        const PresenceCheck check = services_.installer.CheckPresence(planned.instanceId);
        if (check.presence != Presence::NotPresent) {
            result.fate = Fate::Kept;
            result.reason = check.presence == Presence::Present ? KeptReason::ConnectedSinceScan : KeptReason::NotChecked;
            result.error = check.error;
            return KeepDevice(index, device, std::move(result));
        }
        std::vector<AnsiText> there;
        for (const AnsiText& key : atRisk) {
            if (!KeyIsMissing(platform_.registry, kLocalMachine, key)) there.push_back(key);
        }
        // Its entry's deletion, before it, was the run's first change.
        const UninstallResult uninstall = services_.installer.Uninstall(planned.instanceId);
        if (!uninstall.uninstalled) {
            result.fate = Fate::Failed;
            result.reason = KeptReason::UninstallFailed;
            result.error = uninstall.error;
            return KeepDevice(index, device, std::move(result));
        }
        devices_[device].state = DeviceState::Uninstalled;
        result.restartNeeded = uninstall.restartNeeded;
        report_.restartNeeded = report_.restartNeeded || uninstall.restartNeeded;
        for (const AnsiText& key : there) {
            if (KeyIsMissing(platform_.registry, kLocalMachine, key)) result.removedWithDevice.push_back(key);
        }
        result.backupIncomplete = answer.incomplete && !result.removedWithDevice.empty();
        const std::vector<AnsiText> taken = result.removedWithDevice;
        Add(std::move(result));
        // Backed up already: what the uninstall left goes without a second copy.
        for (const AnsiText& key : entry.ipSettings) {
            if (std::find(taken.begin(), taken.end(), key) != taken.end()) continue;
            const bool gone = Delete(key);
            Add({ItemKind::IpSettings, gone ? Fate::Deleted : Fate::Failed, key, index, {}, {}, gone && answer.incomplete});
        }
    }

    void KeepDevice(std::size_t index, std::size_t device, Outcome result) {
        devices_[device] = {DeviceState::Kept, *result.reason};
        const KeptReason reason = *result.reason;
        Add(std::move(result));
        KeepSettings(index, reason);
    }

    void DeleteSettings(std::size_t index, std::size_t from) {
        const PlannedEntry& entry = plan_.entries[index];
        const std::vector<AnsiText>& keys = KeysAfter(entry);
        for (std::size_t i = from; i < keys.size(); ++i) {
            const BackupAnswer answer = BackUp({keys[i]}, index);
            if (!answer.goOn) return LeaveSettings(index, i);
            const bool gone = Delete(keys[i]);
            Add({KindAfter(entry), gone ? Fate::Deleted : Fate::Failed, keys[i], index, {}, {}, gone && answer.incomplete});
        }
    }

    void KeepSettings(std::size_t index, KeptReason reason) {
        const PlannedEntry& entry = plan_.entries[index];
        for (const AnsiText& key : KeysAfter(entry)) Add({KindAfter(entry), Fate::Kept, key, index, reason});
    }

    void KeepPlannedSettings(std::size_t index) {
        const PlannedEntry& entry = plan_.entries[index];
        for (const AnsiText& key : entry.keptIpSettings) Add({ItemKind::IpSettings, Fate::Kept, key, index, entry.keptReason});
    }

    // An entry a stop came before.
    void Leave(std::size_t index) {
        Add({plan_.entries[index].kind, Fate::Left, plan_.entries[index].key, index});
        KeepPlannedSettings(index);
        LeaveSettings(index, 0);
    }

    void LeaveSettings(std::size_t index, std::size_t from) {
        const PlannedEntry& entry = plan_.entries[index];
        const std::vector<AnsiText>& keys = KeysAfter(entry);
        for (std::size_t i = from; i < keys.size(); ++i) Add({KindAfter(entry), Fate::Left, keys[i], index});
    }

    // A device no entry got to is left by the stop, or kept with the entries that stayed.
    void Finish() {
        for (std::size_t device = 0; device < devices_.size(); ++device) {
            if (devices_[device].state != DeviceState::Pending) continue;
            std::optional<std::size_t> first;
            bool leftByStop = false;
            for (std::size_t entry = 0; entry < plan_.entries.size(); ++entry) {
                if (plan_.entries[entry].device != device) continue;
                if (!first) first = entry;
                leftByStop = leftByStop || (report_.stopped && entry >= stoppedAt_);
            }
            Outcome result{ItemKind::Device, leftByStop ? Fate::Left : Fate::Kept, plan_.devices[device].instanceId,
                           first.value_or(0)};
            if (!leftByStop) result.reason = KeptReason::EntryNotDeleted;
            result.name = plan_.devices[device].name;
            Add(std::move(result));
        }
        for (const KeptDevice& kept : plan_.keptDevices) {
            Outcome result{ItemKind::Device, Fate::Kept, kept.device.instanceId, 0, kept.reason};
            result.name = kept.device.name;
            result.detail = kept.detail;
            Add(std::move(result));
        }
    }

    // Every deletion goes through here, and a run's first change is one: it is recorded before it is made.
    bool Delete(const AnsiText& key) {
        if (record_ != nullptr) record_->AboutToChange(plan_, mode_, report_.backups);
        return DeleteAndLook(platform_.registry, key);
    }

    // The gate before anything is deleted: the run's own file, whole, or the
    // warning's agreement. False stops the run here.
    bool WriteRunFile(const Utf8Text& backupFolder) {
        RunFile& file = runFile_.emplace(services_, KeysToGo(plan_));
        const std::optional<Utf8Text> written = file.Write(backupFolder);
        BackupProblem problem{written.value_or(DatedFilePattern(backupFolder, kRunFileStem))};
        problem.written = written.has_value();
        problem.complete = file.Whole();
        BackupError = !problem.written || !problem.complete;
        const BackupAnswer answer = AskAboutBackup(warning_, problem);
        if (!answer.goOn) {
            if (written) services_.files.Remove(*written);
            report_.stopped = true;
            return false;
        }
        if (written) {
            report_.runFile = written;
            report_.backups.push_back(*written);
        }
        return true;
    }

    // What went, and nothing else, stays in the run's own file.
    void CutRunFile() {
        if (!report_.runFile) return;
        std::set<AnsiText> reached;
        for (const Outcome& outcome : report_.outcomes) {
            if (outcome.kind != ItemKind::Device && (outcome.fate == Fate::Deleted || outcome.fate == Fate::Failed)) {
                reached.insert(outcome.what);
            }
            reached.insert(outcome.removedWithDevice.begin(), outcome.removedWithDevice.end());
        }
        if (runFile_->KeepOnly(reached)) return;
        report_.backups.erase(std::find(report_.backups.begin(), report_.backups.end(), *report_.runFile));
        report_.runFile.reset();
    }

    // Backs up, as the mode asks, the keys this run has not backed up yet,
    // then asks once about them; goOn false stops the run at this entry and
    // takes back what this backup appended. A key a REGEDIT4 block cannot
    // hold exactly may be left to the run's own file, which holds it.
    BackupAnswer BackUp(const std::vector<AnsiText>& keys, std::size_t entry) {
        if (mode_ != BackupMode::Selective) return full_;
        BackupError = false;
        BackupProblem problem{smallBackup_};
        const std::optional<std::uint64_t> lengthBefore = services_.files.SizeOf(smallBackup_);
        std::vector<AnsiText> written;
        bool earlierIncomplete = false;
        std::string blocks;
        for (const AnsiText& key : keys) {
            if (auto earlier = backedUp_.find(key); earlier != backedUp_.end()) {
                earlierIncomplete = earlierIncomplete || earlier->second;
                continue;
            }
            // Left only to a file that holds it; otherwise the lossy block, and the warning.
            if (loss_ == Regedit4Loss::LeftToRunFile && report_.runFile && !runFile_->FitsRegedit4(key) &&
                runFile_->Holds(key)) {
                report_.leftToRunFile.push_back(key);
                backedUp_[key] = false;
                continue;
            }
            blocks += Blocks(key);
            written.push_back(key);
        }
        if (!blocks.empty()) problem.written = AppendBlocks(services_.files, smallBackup_, blocks);
        problem.complete = !BackupError;
        const bool appended = !written.empty() && problem.written;
        if (appended && std::find(report_.backups.begin(), report_.backups.end(), smallBackup_) == report_.backups.end()) {
            report_.backups.push_back(smallBackup_);
        }
        BackupAnswer answer = AskAboutBackup(warning_, problem);
        if (!answer.goOn) {
            if (!written.empty()) TakeBack(lengthBefore);
            report_.stopped = true;
            stoppedAt_ = entry;
            return answer;
        }
        for (const AnsiText& key : written) backedUp_[key] = answer.incomplete;
        answer.incomplete = answer.incomplete || earlierIncomplete;
        return answer;
    }

    // The key's blocks, from the read the run's own file was made of: each
    // key is read once. One gone since (the twin of the current control
    // set's key, deleted with it) has nothing left to save.
    std::string Blocks(const AnsiText& key) {
        if (KeyIsMissing(platform_.registry, kLocalMachine, key)) return {};
        const RunFile::KeyRead* read = runFile_->Find(key);
        if (read == nullptr || !read->whole) BackupError = true;
        if (read == nullptr || !read->tree) return {};
        return Regedit4Blocks(*read->tree, key, services_.codec);
    }

    // SmallBackup.reg as it was before the backup a stop came at: no block for a key that stays.
    void TakeBack(const std::optional<std::uint64_t>& lengthBefore) {
        if (lengthBefore) {
            services_.files.CutBack(smallBackup_, *lengthBefore);
            return;
        }
        services_.files.Remove(smallBackup_);
        const auto listed = std::find(report_.backups.begin(), report_.backups.end(), smallBackup_);
        if (listed != report_.backups.end()) report_.backups.erase(listed);
    }

    void Add(Outcome outcome) { report_.outcomes.push_back(std::move(outcome)); }

    ExportPlatform platform_;
    const Services& services_;
    const DeletionPlan& plan_;
    BackupMode mode_;
    Regedit4Loss loss_;
    RunRecord* record_;
    BackupWarning& warning_;
    std::optional<RunFile> runFile_;
    Utf8Text smallBackup_;
    BackupAnswer full_;
    std::vector<Device> devices_;
    std::map<AnsiText, bool> backedUp_;  // by path as text, whether its backup was incomplete
    std::size_t stoppedAt_ = 0;          // the entry a stop came at; a full backup's stops before the first
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
                               BackupWarning& warning, const Utf8Text& backupFolder, Regedit4Loss loss,
                               RunRecord* record) {
    AskedWithThePointer asked(warning, services.pointer);
    // One hourglass for the whole run: each backup's own would only show it again.
    HourglassScope hourglass(services.pointer);
    return DeletionRun(services, plan, mode, asked, backupFolder, loss, record).Carry();
}

}  // namespace tarvex
