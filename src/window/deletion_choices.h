#pragma once

namespace tarvex {

// The deletion's check boxes, read each time the deletion asks.
class DeletionChoices {
public:
    virtual ~DeletionChoices() = default;
    virtual bool chkBackup() const = 0;      // "Backup ALL related settings before deleting them"
    virtual bool chkSelective() const = 0;   // "Backup ONLY those settings deleted"
    virtual bool chkIpSettings() const = 0;  // "Also delete IP settings of absent adapters"
    virtual bool chkUninstall() const = 0;   // "Also uninstall absent adapters"
};

}  // namespace tarvex
