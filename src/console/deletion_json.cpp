#include "console/deletion_json.h"

#include "console/json_text.h"

namespace tarvex {

namespace {

// The members of one JSON object, in the order added.
class JsonObject {
public:
    JsonObject& Text(const char* name, const Utf8Text& text) { return Raw(name, JsonString(text)); }
    JsonObject& Raw(const char* name, const std::string& json) {
        json_ += (json_.empty() ? "{\"" : ",\"") + std::string(name) + "\":" + json;
        return *this;
    }
    std::string Json() const { return json_.empty() ? "{}" : json_ + "}"; }

private:
    std::string json_;
};

class Report {
public:
    Report(const DeletionRecord& record, const AnsiCodec& codec) : record_(record), codec_(codec) {}

    std::string Json(ExitCode exitCode) {
        if (record_.plan && record_.dryRun) Planned(*record_.plan);
        if (record_.plan && record_.report) Done(*record_.plan, *record_.report);
        const bool restart = record_.report && record_.report->restartNeeded;
        const std::vector<Utf8Text> backups = record_.report ? record_.report->backups : std::vector<Utf8Text>{};
        return "{\"deleted\":" + JsonValues(deleted_) + ",\r\n\"uninstalled\":" + JsonValues(uninstalled_) +
               ",\r\n\"kept\":" + JsonValues(kept_) + ",\r\n\"failed\":" + JsonValues(failed_) +
               ",\r\n\"backups\":" + JsonStrings(backups) + ",\r\n\"restartNeeded\":" + (restart ? "true" : "false") +
               ",\r\n\"dryRun\":" + (record_.dryRun ? "true" : "false") +
               ",\r\n\"exitCode\":" + std::to_string(static_cast<int>(exitCode)) + "}\r\n";
    }

private:
    void Planned(const DeletionPlan& plan) {
        for (std::size_t i = 0; i < plan.entries.size(); ++i) {
            Deleted(i, plan.entries[i].ipSettings);
            KeptSettings(plan.entries[i]);
        }
        for (const PlannedDevice& device : plan.devices) Uninstalled(device);
        KeptDevices(plan);
    }

    void Done(const DeletionPlan& plan, const DeletionReport& report) {
        for (std::size_t i = 0; i < report.keys.size(); ++i) {
            const DeletedKey& key = report.keys[i];
            if (key.outcome != KeyOutcome::Deleted) {
                Failed(codec_.ToUtf8(key.key), "still there after the deletion");
                continue;
            }
            if (key.kind != KeyKind::Entry) continue;
            std::vector<AnsiText> settings;
            for (std::size_t next = i + 1; next < report.keys.size() && report.keys[next].kind == KeyKind::IpSettings;
                 ++next) {
                if (report.keys[next].outcome == KeyOutcome::Deleted) settings.push_back(report.keys[next].key);
            }
            Deleted(key.entry, settings);
            KeptSettings(plan.entries[key.entry]);
        }
        for (const DeviceResult& result : report.devices) {
            const Utf8Text id = codec_.ToUtf8(result.device.instanceId);
            switch (result.outcome) {
                case DeviceOutcome::Uninstalled: Uninstalled(result.device); break;
                case DeviceOutcome::Kept: Kept(id, KeptReasonText(result.keptReason)); break;
                case DeviceOutcome::Failed:
                    Failed(id, FailureText(result.error));
                    break;
            }
        }
        KeptDevices(plan);
    }

    void Deleted(std::size_t entry, const std::vector<AnsiText>& settings) {
        std::vector<Utf8Text> keys;
        for (const AnsiText& key : settings) keys.push_back(codec_.ToUtf8(key));
        deleted_.push_back(JsonObject()
                               .Text("key", codec_.ToUtf8(record_.plan->entries[entry].key))
                               .Text("connection", entry < record_.connections.size() ? record_.connections[entry] : "")
                               .Raw("ipSettings", JsonStrings(keys))
                               .Json());
    }
    void Uninstalled(const PlannedDevice& device) {
        uninstalled_.push_back(
            JsonObject().Text("pnpInstanceId", codec_.ToUtf8(device.instanceId)).Text("device", device.name).Json());
    }
    void KeptSettings(const PlannedEntry& entry) {
        for (const AnsiText& key : entry.keptIpSettings) Kept(codec_.ToUtf8(key), KeptReasonText(entry.keptReason));
    }
    void KeptDevices(const DeletionPlan& plan) {
        for (const KeptDevice& kept : plan.keptDevices) {
            Kept(codec_.ToUtf8(kept.device.instanceId), KeptReasonText(kept.reason));
        }
    }
    void Kept(const Utf8Text& what, const Utf8Text& reason) {
        kept_.push_back(JsonObject().Text("what", what).Text("reason", reason).Json());
    }
    void Failed(const Utf8Text& what, const Utf8Text& error) {
        failed_.push_back(JsonObject().Text("what", what).Text("error", error).Json());
    }

    const DeletionRecord& record_;
    const AnsiCodec& codec_;
    std::vector<std::string> deleted_;
    std::vector<std::string> uninstalled_;
    std::vector<std::string> kept_;
    std::vector<std::string> failed_;
};

}  // namespace

std::string DeletionJson(const DeletionRecord& record, const AnsiCodec& codec, ExitCode exitCode) {
    return Report(record, codec).Json(exitCode);
}

}  // namespace tarvex
