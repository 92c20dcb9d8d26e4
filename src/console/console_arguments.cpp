#include "console/console_arguments.h"

#include <cctype>
#include <functional>
#include <utility>
#include <vector>
#include <map>

namespace tarvex {

const char kUsage[] =
    "usage:\n"
    "  tarvex list   [--stale [--not-seen-for DAYS]] [--name PATTERN] [--format tsv|json]\n"
    "  tarvex check  [--not-seen-for DAYS] [--name PATTERN]\n"
    "  tarvex delete (--stale [--not-seen-for DAYS] | --key PATH...) [--name PATTERN]\n"
    "                [--with-ip-settings] [--uninstall-devices] [--backup selective|full|none]\n"
    "                [--hand-over | --hand-over-to GUID] [--backup-dir DIR] [--dry-run] [--force]\n"
    "                [--format tsv|json]\n"
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

// Reads the option's value into slot; an option given twice is an error.
void ReadOnce(Reader& reader, const std::string& option, std::optional<Utf8Text>& slot) {
    if (slot) reader.Fail(option + " is given twice");
    slot = reader.Value(option);
}

// An option, given at most once, whose value is one of a few words.
template <typename Choice>
class ChoiceOption {
public:
    ChoiceOption(std::string option, std::string described, std::vector<std::pair<Utf8Text, Choice>> words,
                 Choice& into)
        : option_(std::move(option)), described_(std::move(described)), words_(std::move(words)), into_(into) {}

    void operator()(Reader& reader) {
        ReadOnce(reader, option_, value_);
        if (!value_) return;
        for (const auto& [word, choice] : words_) {
            if (*value_ == word) {
                into_ = choice;
                return;
            }
        }
        reader.Fail(option_ + " takes " + described_ + ", not " + *value_);
    }

private:
    std::string option_;
    std::string described_;
    std::vector<std::pair<Utf8Text, Choice>> words_;
    Choice& into_;
    std::optional<Utf8Text> value_;
};

ChoiceOption<OutputFormat> FormatOption(OutputFormat& into) {
    return {"--format", "tsv or json", {{"tsv", OutputFormat::Tsv}, {"json", OutputFormat::Json}}, into};
}

// Whole days from 0 to kLongestNotSeenForDays: digits only, no sign, no fraction.
void ReadNotSeenFor(Reader& reader, std::optional<Utf8Text>& slot, std::uint32_t& days) {
    ReadOnce(reader, "--not-seen-for", slot);
    if (!slot) return;
    const Utf8Text& value = *slot;
    const bool digits = !value.empty() && value.size() <= 6 &&
                        value.find_first_not_of("0123456789") == Utf8Text::npos;
    const unsigned long number = digits ? std::stoul(value) : 0;
    if (!digits || number > kLongestNotSeenForDays) {
        reader.Fail("--not-seen-for takes a whole number of days from 0 to " +
                    std::to_string(kLongestNotSeenForDays) + ", not \"" + value + "\"");
        return;
    }
    days = static_cast<std::uint32_t>(number);
}

// A GUID as {8-4-4-4-12} hexadecimal digits, its braces optional; nothing for anything else.
std::optional<AnsiText> BracedGuid(const Utf8Text& text) {
    const bool braced = text.size() == 38 && text.front() == '{' && text.back() == '}';
    const Utf8Text bare = braced ? text.substr(1, 36) : text;
    if (bare.size() != 36) return std::nullopt;
    for (std::size_t i = 0; i < bare.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? bare[i] != '-' : !std::isxdigit(static_cast<unsigned char>(bare[i]))) return std::nullopt;
    }
    return "{" + bare + "}";
}

void ReadSuccessor(Reader& reader, std::optional<Utf8Text>& slot, HandOverRequest& request) {
    ReadOnce(reader, "--hand-over-to", slot);
    if (!slot) return;
    const std::optional<AnsiText> guid = BracedGuid(*slot);
    if (!guid) return reader.Fail("--hand-over-to takes an adapter's GUID, not \"" + *slot + "\"");
    request = {HandOverAsk::Named, *guid};
}

// The age of a stale device only means something where stale rows are asked for.
std::optional<UsageError> NeedsStale(const RowFilter& filter, const std::optional<Utf8Text>& notSeenFor,
                                     const std::string& command) {
    if (notSeenFor && !filter.staleOnly) return UsageError{command + " takes --not-seen-for only with --stale"};
    return std::nullopt;
}

ConsoleCommand ParseList(Reader& reader) {
    ListCommand list;
    std::optional<Utf8Text> notSeenFor;
    OptionHandlers handlers{
        {"--stale", [&](Reader&) { list.filter.staleOnly = true; }},
        {"--not-seen-for", [&](Reader& r) { ReadNotSeenFor(r, notSeenFor, list.filter.notSeenForDays); }},
        {"--name", [&](Reader& r) { ReadOnce(r, "--name", list.filter.namePattern); }},
        {"--format", FormatOption(list.format)},
    };
    if (auto error = ReadOptions(reader, "list", handlers)) return *error;
    if (auto error = NeedsStale(list.filter, notSeenFor, "list")) return *error;
    return list;
}

ConsoleCommand ParseCheck(Reader& reader) {
    CheckCommand check;
    check.filter.staleOnly = true;
    std::optional<Utf8Text> notSeenFor;
    OptionHandlers handlers{
        {"--not-seen-for", [&](Reader& r) { ReadNotSeenFor(r, notSeenFor, check.filter.notSeenForDays); }},
        {"--name", [&](Reader& r) { ReadOnce(r, "--name", check.filter.namePattern); }},
    };
    if (auto error = ReadOptions(reader, "check", handlers)) return *error;
    return check;
}

ConsoleCommand ParseDelete(Reader& reader) {
    DeleteCommand remove;
    std::optional<Utf8Text> notSeenFor;
    bool handOver = false;
    std::optional<Utf8Text> successor;
    OptionHandlers handlers{
        {"--stale", [&](Reader&) { remove.filter.staleOnly = true; }},
        {"--not-seen-for", [&](Reader& r) { ReadNotSeenFor(r, notSeenFor, remove.filter.notSeenForDays); }},
        {"--key",
         [&](Reader& r) {
             if (!r.HasValue()) r.Fail("--key needs a key path");
             while (r.HasValue()) remove.keys.push_back(r.Take());
         }},
        {"--name", [&](Reader& r) { ReadOnce(r, "--name", remove.filter.namePattern); }},
        {"--backup", ChoiceOption<BackupMode>("--backup", "selective, full or none",
                                              {{"selective", BackupMode::Selective},
                                               {"full", BackupMode::Full},
                                               {"none", BackupMode::None}},
                                              remove.backup)},
        {"--backup-dir", [&](Reader& r) { ReadOnce(r, "--backup-dir", remove.backupFolder); }},
        {"--dry-run", [&](Reader&) { remove.dryRun = true; }},
        {"--force", [&](Reader&) { remove.force = true; }},
        {"--with-ip-settings", [&](Reader&) { remove.withIpSettings = true; }},
        {"--uninstall-devices", [&](Reader&) { remove.uninstallDevices = true; }},
        {"--hand-over", [&](Reader&) { handOver = true; }},
        {"--hand-over-to", [&](Reader& r) { ReadSuccessor(r, successor, remove.handOver); }},
        {"--format", FormatOption(remove.format)},
    };
    if (auto error = ReadOptions(reader, "delete", handlers)) return *error;
    if (handOver && successor) return UsageError{"delete takes --hand-over or --hand-over-to, not both"};
    if (handOver) remove.handOver.ask = HandOverAsk::Automatic;
    // The ghost's settings must be gone before the successor takes them.
    if (remove.handOver.ask != HandOverAsk::None && !remove.withIpSettings) {
        return UsageError{std::string(handOver ? "--hand-over" : "--hand-over-to") + " needs --with-ip-settings"};
    }
    // An empty folder would make every backup path a path from the drive's root.
    if (remove.backupFolder && remove.backupFolder->empty()) {
        return UsageError{"--backup-dir needs a folder, not \"\""};
    }
    if (remove.filter.staleOnly && !remove.keys.empty()) return UsageError{"delete takes --stale or --key, not both"};
    if (!remove.filter.staleOnly && remove.keys.empty()) return UsageError{"delete needs --stale or --key PATH"};
    if (auto error = NeedsStale(remove.filter, notSeenFor, "delete")) return *error;
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
