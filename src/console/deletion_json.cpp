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
        if (record_.plan && record_.dryRun) Add(PlannedOutcomes(*record_.plan));
        if (record_.plan && record_.report) Add(record_.report->outcomes);
        const bool restart = record_.report && RestartNeeded(*record_.report);
        const std::vector<Utf8Text> backups = record_.report ? record_.report->backups : std::vector<Utf8Text>{};
        return "{\"deleted\":" + JsonValues(deleted_) + ",\r\n\"uninstalled\":" + JsonValues(uninstalled_) +
               ",\r\n\"kept\":" + JsonValues(kept_) + ",\r\n\"failed\":" + JsonValues(failed_) +
               ",\r\n\"left\":" + JsonValues(left_) + ",\r\n\"backups\":" + JsonStrings(backups) +
               ",\r\n\"restartNeeded\":" + (restart ? "true" : "false") +
               ",\r\n\"dryRun\":" + (record_.dryRun ? "true" : "false") + ",\r\n\"handOver\":" + HandOver() +
               ",\r\n\"exitCode\":" + std::to_string(static_cast<int>(exitCode)) + "}\r\n";
    }

private:
    void Add(const std::vector<Outcome>& outcomes) {
        // Each entry's settings that went, gathered once.
        std::vector<std::vector<AnsiText>> settings(record_.plan->entries.size());
        for (const Outcome& outcome : outcomes) {
            if ((outcome.kind == ItemKind::IpSettings || outcome.kind == ItemKind::Signature) &&
                outcome.fate == Fate::Deleted) {
                settings[outcome.entry].push_back(outcome.what);
            }
        }
        for (const Outcome& outcome : outcomes) {
            const Utf8Text what = codec_.ToUtf8(outcome.what);
            switch (outcome.fate) {
                case Fate::Deleted:
                    if (outcome.kind == ItemKind::Entry || outcome.kind == ItemKind::Profile) {
                        Deleted(outcome.entry, settings[outcome.entry]);
                    }
                    break;
                case Fate::Uninstalled:
                    uninstalled_.push_back(JsonObject()
                                               .Text("pnpInstanceId", what)
                                               .Text("device", outcome.name)
                                               .Raw("removedWithDevice", Paths(outcome.removedWithDevice))
                                               .Json());
                    break;
                case Fate::Kept: kept_.push_back(JsonObject().Text("what", what).Text("reason", KeptText(outcome)).Json()); break;
                case Fate::Failed:
                    failed_.push_back(JsonObject()
                                          .Text("what", what)
                                          .Text("error", outcome.kind == ItemKind::Device ? FailureText(outcome.error)
                                                                                          : "still there after the deletion")
                                          .Json());
                    break;
                case Fate::Left:
                    left_.push_back(JsonObject().Text("what", what).Text("reason", record_.stopReason).Json());
                    break;
            }
        }
    }

    // An entry that went, with the IP settings deleted after it; a profile, with its signatures.
    void Deleted(std::size_t entry, const std::vector<AnsiText>& settings) {
        const PlannedEntry& planned = record_.plan->entries[entry];
        const bool profile = planned.kind == ItemKind::Profile;
        deleted_.push_back(JsonObject()
                               .Text("key", codec_.ToUtf8(planned.key))
                               .Text(profile ? "name" : "connection",
                                     entry < record_.names.size() ? record_.names[entry] : "")
                               .Raw(profile ? "signatures" : "ipSettings", Paths(settings))
                               .Json());
    }

    // null when not asked; what was handed over, what a dry run would hand over, or why not.
    std::string HandOver() const {
        if (!record_.handOverAsked) return "null";
        const HandOverPlan* plan = record_.plan && record_.plan->handOver ? &*record_.plan->handOver : nullptr;
        const HandOverResult* result = record_.report && record_.report->handOver ? &*record_.report->handOver : nullptr;
        const bool paired = plan && Paired(*plan);
        const bool done = result && result->done;
        const bool planned = paired && record_.dryRun;
        Utf8Text reason = result ? result->reason : plan ? WhyNotPaired(*plan).value_or("") : Utf8Text();
        if (reason.empty()) reason = record_.stopReason.empty() ? "the run ended before it" : record_.stopReason;
        JsonObject settings;
        if (paired) {
            for (const StoredValue& value : plan->values) settings.Text(value.name.c_str(), codec_.ToUtf8(ValueText(value)));
        }
        const auto key = [&](const AnsiText& path) { return paired ? JsonString(codec_.ToUtf8(path)) : "null"; };
        JsonObject object;
        object.Raw("done", done ? "true" : "false")
            .Raw("partial", result && result->partial ? "true" : "false")
            .Raw("planned", planned ? "true" : "false");
        if (!done && !planned) object.Text("reason", reason);
        return object.Raw("heldBy", plan && plan->heldBy ? JsonString(*plan->heldBy) : "null")
            .Raw("from", key(plan ? plan->ghost.interfacesKey : ""))
            .Raw("to", key(plan ? plan->successor.interfacesKey : ""))
            .Raw("settings", settings.Json())
            .Raw("undoFile", result && result->undoFile ? JsonString(*result->undoFile) : "null")
            .Raw("freeName", done && plan->freeName ? JsonString(*plan->freeName) : "null")
            .Json();
    }

    std::string Paths(const std::vector<AnsiText>& keys) const {
        std::vector<Utf8Text> paths;
        for (const AnsiText& key : keys) paths.push_back(codec_.ToUtf8(key));
        return JsonStrings(paths);
    }

    const DeletionRecord& record_;
    const AnsiCodec& codec_;
    std::vector<std::string> deleted_;
    std::vector<std::string> uninstalled_;
    std::vector<std::string> kept_;
    std::vector<std::string> failed_;
    std::vector<std::string> left_;
};

}  // namespace

std::string DeletionJson(const DeletionRecord& record, const AnsiCodec& codec, ExitCode exitCode) {
    return Report(record, codec).Json(exitCode);
}

}  // namespace tarvex
