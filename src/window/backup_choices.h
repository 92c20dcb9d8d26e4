#pragma once

namespace tarvex {

// The two backup check boxes, read each time the deletion asks.
class BackupChoices {
public:
    virtual ~BackupChoices() = default;
    virtual bool chkBackup() const = 0;     // "Backup ALL related settings before deleting them"
    virtual bool chkSelective() const = 0;  // "Backup ONLY those settings deleted"
};

}  // namespace tarvex
