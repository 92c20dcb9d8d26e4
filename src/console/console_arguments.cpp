#include "console/console_arguments.h"

#include <functional>
#include <utility>
#include <map>

namespace tarvex {

const char kUsage[] =
    "usage:\n"
    "  tarvex list   [--stale] [--name PATTERN] [--format tsv|json]\n"
    "  tarvex check  [--name PATTERN]\n"
    "  tarvex delete (--stale | --key PATH...) [--name PATTERN] [--backup selective|full|none]\n"
    "                [--backup-dir DIR] [--dry-run] [--force]\n"
    "  tarvex --help | --version\n";

namespace {

bool IsOption(const Utf8Text& argument) { return argument.rfind("--", 0) == 0; }

// Walks the arguments of one command; the first error wins.
class Reader {
public:
    explicit Reader(const std::vector<Utf8Text>& arguments) : arguments_(arguments) {}

    bool AtEnd() const { return next_ >= arguments_.size() || error_; }
    const Utf8Text& Take() { return arguments_[next_++]; }
    bool HasValue() const { return next_ < arguments_.size() && !IsOption(arguments_[next_]); }

    // The option's value, which must follow it.
    std::optional<Utf8Text> Value(const Utf8Text& option) {
        if (!HasValue()) {
            Fail(option + " needs a value");
            return std::nullopt;
        }
        return Take();
    }
    void Fail(std::string message) {
        if (!error_) error_ = UsageError{std::move(message)};
    }
    const std::optional<UsageError>& error() const { return error_; }

private:
    const std::vector<Utf8Text>& arguments_;
    std::size_t next_ = 1;
    std::optional<UsageError> error_;
};

using OptionHandlers = std::map<std::string, std::function<void(Reader&)>>;

// Applies each option through its handler; anything else is an error.
std::optional<UsageError> ReadOptions(Reader& reader, const std::string& command, const OptionHandlers& handlers) {
    while (!reader.AtEnd()) {
        const Utf8Text& argument = reader.Take();
        auto handler = handlers.find(argument);
        if (handler != handlers.end()) {
            handler->second(reader);
        } else if (IsOption(argument)) {
            reader.Fail("unknown option for " + command + ": " + argument);
        } else {
            reader.Fail("unexpected argument for " + command + ": " + argument);
        }
    }
    return reader.error();
}

void ReadName(Reader& reader, RowFilter& filter) {
    if (filter.namePattern) reader.Fail("--name is given twice");
    filter.namePattern = reader.Value("--name");
}

ConsoleCommand ParseList(Reader& reader) {
    ListCommand list;
    bool formatGiven = false;
    OptionHandlers handlers{
        {"--stale", [&](Reader&) { list.filter.staleOnly = true; }},
        {"--name", [&](Reader& r) { ReadName(r, list.filter); }},
        {"--format",
         [&](Reader& r) {
             if (std::exchange(formatGiven, true)) r.Fail("--format is given twice");
             std::optional<Utf8Text> format = r.Value("--format");
             if (format == "tsv") list.format = OutputFormat::Tsv;
             else if (format == "json") list.format = OutputFormat::Json;
             else if (format) r.Fail("--format takes tsv or json, not " + *format);
         }},
    };
    if (auto error = ReadOptions(reader, "list", handlers)) return *error;
    return list;
}

ConsoleCommand ParseCheck(Reader& reader) {
    CheckCommand check;
    check.filter.staleOnly = true;
    if (auto error = ReadOptions(reader, "check", {{"--name", [&](Reader& r) { ReadName(r, check.filter); }}})) {
        return *error;
    }
    return check;
}

ConsoleCommand ParseDelete(Reader& reader) {
    DeleteCommand remove;
    bool backupGiven = false;
    OptionHandlers handlers{
        {"--stale", [&](Reader&) { remove.filter.staleOnly = true; }},
        {"--key",
         [&](Reader& r) {
             if (!r.HasValue()) r.Fail("--key needs a key path");
             while (r.HasValue()) remove.keys.push_back(r.Take());
         }},
        {"--name", [&](Reader& r) { ReadName(r, remove.filter); }},
        {"--backup",
         [&](Reader& r) {
             if (std::exchange(backupGiven, true)) r.Fail("--backup is given twice");
             std::optional<Utf8Text> mode = r.Value("--backup");
             if (mode == "selective") remove.backup = BackupMode::Selective;
             else if (mode == "full") remove.backup = BackupMode::Full;
             else if (mode == "none") remove.backup = BackupMode::None;
             else if (mode) r.Fail("--backup takes selective, full or none, not " + *mode);
         }},
        {"--backup-dir",
         [&](Reader& r) {
             if (remove.backupFolder) r.Fail("--backup-dir is given twice");
             remove.backupFolder = r.Value("--backup-dir");
         }},
        {"--dry-run", [&](Reader&) { remove.dryRun = true; }},
        {"--force", [&](Reader&) { remove.force = true; }},
    };
    if (auto error = ReadOptions(reader, "delete", handlers)) return *error;
    if (remove.filter.staleOnly && !remove.keys.empty()) return UsageError{"delete takes --stale or --key, not both"};
    if (!remove.filter.staleOnly && remove.keys.empty()) return UsageError{"delete needs --stale or --key PATH"};
    return remove;
}

}  // namespace

ConsoleCommand ParseArguments(const std::vector<Utf8Text>& arguments) {
    if (arguments.empty()) return UsageError{"no command given"};
    const Utf8Text& command = arguments[0];
    Reader reader(arguments);
    if (command == "--help" || command == "--version") {
        if (arguments.size() > 1) return UsageError{"unexpected argument after " + command + ": " + arguments[1]};
        if (command == "--help") return HelpCommand{};
        return VersionCommand{};
    }
    if (command == "list") return ParseList(reader);
    if (command == "check") return ParseCheck(reader);
    if (command == "delete") return ParseDelete(reader);
    return UsageError{"unknown command: " + command};
}

}  // namespace tarvex
