#include "console/console_arguments.h"

#include "console/near_words.h"
#include "util/braced_guid.h"
#include "util/lower_ascii.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace tarvex {

namespace {

constexpr const char* kCommands[] = {"list", "check", "delete"};

std::vector<std::string> Commands() { return {std::begin(kCommands), std::end(kCommands)}; }

bool IsCommand(const std::string& word) {
    return std::find(std::begin(kCommands), std::end(kCommands), word) != std::end(kCommands);
}

bool IsHelpFlag(const Utf8Text& argument) {
    const std::string word = LowerAscii(argument);
    return word == "/?" || word == "-?" || word == "-h" || word == "--help";
}

bool IsOption(const Utf8Text& argument) { return argument.rfind("--", 0) == 0; }

// Walks the arguments of one command; the first error wins.
class Reader {
public:
    Reader(const std::vector<Utf8Text>& arguments, std::string command)
        : arguments_(arguments), command_(std::move(command)) {}

    bool AtEnd() const { return next_ >= arguments_.size() || error_; }
    const Utf8Text& Take() { return arguments_[next_++]; }
    bool HasValue() const { return next_ < arguments_.size() && !IsOption(arguments_[next_]); }

    // The next argument; an option's value joined by "=" waits for Value.
    Utf8Text TakeArgument() {
        Utf8Text argument = Take();
        joined_.reset();
        const std::size_t equals = argument.find('=');
        if (IsOption(argument) && equals != Utf8Text::npos) {
            joined_ = argument.substr(equals + 1);
            argument.resize(equals);
        }
        return argument;
    }
    // The value joined to the option by "=", taken.
    std::optional<Utf8Text> Joined() { return std::exchange(joined_, std::nullopt); }
    // The option's value: joined to it, or the argument after it.
    std::optional<Utf8Text> Value(const Utf8Text& option) {
        if (joined_) return Joined();
        if (!HasValue()) {
            Fail(option + " needs a value");
            return std::nullopt;
        }
        return Take();
    }
    // A joined value no handler took.
    void RefuseJoinedValue(const Utf8Text& option) {
        if (joined_) Fail(option + " takes no value");
    }
    void Fail(std::string message) {
        if (!error_) error_ = UsageError{std::move(message), command_};
    }
    const std::optional<UsageError>& error() const { return error_; }
    const std::string& command() const { return command_; }

private:
    const std::vector<Utf8Text>& arguments_;
    std::string command_;
    std::size_t next_ = 1;
    std::optional<Utf8Text> joined_;
    std::optional<UsageError> error_;
};

// By option name in lower case.
using OptionHandlers = std::map<std::string, std::function<void(Reader&)>>;

// These take several values, and may be given again for more.
bool TakesMore(const std::string& option) { return option == "--key" || option == "--profile"; }

// "; did you mean "--stale"?" for a near miss; nothing when none is near.
std::string Meant(const std::string& word, const std::vector<std::string>& candidates) {
    const std::optional<std::string> meant = NearestWord(LowerAscii(word), candidates);
    return meant ? "; did you mean \"" + *meant + "\"?" : "";
}

std::vector<std::string> OptionNames(const OptionHandlers& handlers) {
    std::vector<std::string> names;
    for (const auto& [name, handler] : handlers) names.push_back(name);
    return names;
}

// What an argument that is no option of the command was taken for.
std::string WhyRefused(const Utf8Text& argument, const std::string& command, const OptionHandlers& handlers) {
    if (IsOption(argument)) return "unknown option for " + command + ": " + argument + Meant(argument, OptionNames(handlers));
    // Windows' own tools take -x and /x; this one's options are long words.
    const bool shortForm = argument.size() > 1 && (argument[0] == '-' || argument[0] == '/');
    std::string refused = "unexpected argument for " + command + ": " + argument;
    if (!shortForm) return refused;
    const std::string asOption = "--" + argument.substr(1);
    const std::string meant = handlers.count(LowerAscii(asOption)) ? "; did you mean \"" + LowerAscii(asOption) + "\"?"
                                                                   : Meant(asOption, OptionNames(handlers));
    return refused + "; options start with --" + meant;
}

// Applies each option through its handler; anything else is an error, and
// so is an option given twice.
std::optional<UsageError> ReadOptions(Reader& reader, const OptionHandlers& handlers) {
    std::set<std::string> given;
    while (!reader.AtEnd()) {
        const Utf8Text argument = reader.TakeArgument();
        const std::string name = LowerAscii(argument);
        auto handler = handlers.find(name);
        if (handler == handlers.end()) {
            reader.Fail(WhyRefused(argument, reader.command(), handlers));
        } else if (!given.insert(name).second && !TakesMore(name)) {
            reader.Fail(name + " is given twice");
        } else {
            handler->second(reader);
            reader.RefuseJoinedValue(argument);
        }
    }
    return reader.error();
}

// Reads the option's value into slot.
void ReadOnce(Reader& reader, const std::string& option, std::optional<Utf8Text>& slot) { slot = reader.Value(option); }

// A folder's value: cmd.exe passes "C:\temp\" --dry-run as one value, its
// backslash taking the closing quote for a character.
void ReadFolder(Reader& reader, const std::string& option, std::optional<Utf8Text>& slot) {
    ReadOnce(reader, option, slot);
    if (!slot || slot->find('"') == Utf8Text::npos) return;
    reader.Fail(option + " takes a folder, not \"" + *slot + "\": in cmd.exe a backslash before a closing quote "
                "escapes it; end the folder without one (\"C:\\temp\") or double it (\"C:\\temp\\\\\")");
}

// An option, given at most once, whose value is one of a few words, in any case.
template <typename Choice>
class ChoiceOption {
public:
    ChoiceOption(std::string option, std::vector<std::pair<Utf8Text, Choice>> words, Choice& into)
        : option_(std::move(option)), words_(std::move(words)), into_(into) {}

    void operator()(Reader& reader) {
        ReadOnce(reader, option_, value_);
        if (!value_) return;
        for (const auto& [word, choice] : words_) {
            if (LowerAscii(*value_) == word) {
                into_ = choice;
                return;
            }
        }
        reader.Fail(option_ + " takes " + Described() + ", not " + *value_);
    }

private:
    // "tsv or json", "selective, full or none"
    std::string Described() const {
        std::string text;
        for (std::size_t i = 0; i < words_.size(); ++i) {
            text += (i == 0 ? "" : i + 1 == words_.size() ? " or " : ", ") + words_[i].first;
        }
        return text;
    }

    std::string option_;
    std::vector<std::pair<Utf8Text, Choice>> words_;
    Choice& into_;
    std::optional<Utf8Text> value_;
};

ChoiceOption<OutputFormat> FormatOption(OutputFormat& into) {
    return {"--format",
            {{"tsv", OutputFormat::Tsv}, {"json", OutputFormat::Json}, {"summary", OutputFormat::Summary}},
            into};
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
    if (notSeenFor && !filter.staleOnly) return UsageError{command + " takes --not-seen-for only with --stale", command};
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
        {"--profiles", [&](Reader&) { list.profiles = true; }},
    };
    if (auto error = ReadOptions(reader, handlers)) return *error;
    if (auto error = NeedsStale(list.filter, notSeenFor, "list")) return *error;
    return list;
}

ConsoleCommand ParseCheck(Reader& reader) {
    CheckCommand check;
    check.filter.staleOnly = true;
    std::optional<Utf8Text> notSeenFor;
    OptionHandlers handlers{
        // check always counts stale entries: the word only says so.
        {"--stale", [](Reader&) {}},
        {"--not-seen-for", [&](Reader& r) { ReadNotSeenFor(r, notSeenFor, check.filter.notSeenForDays); }},
        {"--name", [&](Reader& r) { ReadOnce(r, "--name", check.filter.namePattern); }},
        {"--format", ChoiceOption<OutputFormat>("--format", {{"summary", OutputFormat::Summary}}, check.format)},
        {"--profiles", [&](Reader&) { check.profiles = true; }},
    };
    if (auto error = ReadOptions(reader, handlers)) return *error;
    return check;
}

// A profile run deletes profiles and their signatures, nothing of the entries'.
ConsoleCommand CheckProfileDeletion(const DeleteCommand& remove, bool handOver, const std::optional<Utf8Text>& successor,
                                    const std::optional<Utf8Text>& notSeenFor) {
    const auto refused = [](std::string message) { return UsageError{std::move(message), "delete"}; };
    if (!remove.keys.empty()) {
        return refused("--key is for connection entries, not with --profiles; name a profile with --profile GUID");
    }
    const std::pair<bool, const char*> entriesOnly[] = {{remove.withIpSettings, "--with-ip-settings"},
                                                        {remove.uninstallDevices, "--uninstall-devices"},
                                                        {handOver, "--hand-over"},
                                                        {successor.has_value(), "--hand-over-to"}};
    for (const auto& [given, option] : entriesOnly) {
        if (given) return refused(std::string(option) + " is for connection entries, not with --profiles");
    }
    // LargeBackup.reg holds the four Network trees: a profile run must not replace it.
    if (remove.backup == BackupMode::Full) return refused("--backup full is for connection entries; --profiles takes selective or none");
    if (remove.backupFolder && remove.backupFolder->empty()) return refused("--backup-dir needs a folder, not \"\"");
    if (remove.filter.staleOnly && !remove.profileGuids.empty()) return refused("delete --profiles takes --stale or --profile, not both");
    if (!remove.filter.staleOnly && remove.profileGuids.empty()) return refused("delete --profiles needs --stale or --profile GUID");
    if (auto error = NeedsStale(remove.filter, notSeenFor, "delete")) return *error;
    return remove;
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
             // --key=PATH gives one path; more may follow it either way.
             if (std::optional<Utf8Text> joined = r.Joined()) {
                 remove.keys.push_back(*joined);
             } else if (!r.HasValue()) {
                 r.Fail("--key needs a key path");
             }
             while (r.HasValue()) remove.keys.push_back(r.Take());
         }},
        {"--name", [&](Reader& r) { ReadOnce(r, "--name", remove.filter.namePattern); }},
        {"--backup", ChoiceOption<BackupMode>("--backup",
                                              {{"selective", BackupMode::Selective},
                                               {"full", BackupMode::Full},
                                               {"none", BackupMode::None}},
                                              remove.backup)},
        {"--backup-dir", [&](Reader& r) { ReadFolder(r, "--backup-dir", remove.backupFolder); }},
        {"--dry-run", [&](Reader&) { remove.dryRun = true; }},
        {"--force", [&](Reader&) { remove.force = true; }},
        {"--no-event-log", [&](Reader&) { remove.eventLog = false; }},
        {"--with-ip-settings", [&](Reader&) { remove.withIpSettings = true; }},
        {"--uninstall-devices", [&](Reader&) { remove.uninstallDevices = true; }},
        {"--hand-over", [&](Reader&) { handOver = true; }},
        {"--hand-over-to", [&](Reader& r) { ReadSuccessor(r, successor, remove.handOver); }},
        {"--format", FormatOption(remove.format)},
        {"--profiles", [&](Reader&) { remove.profiles = true; }},
        {"--profile",
         [&](Reader& r) {
             std::vector<Utf8Text> given;
             if (std::optional<Utf8Text> joined = r.Joined()) given.push_back(*joined);
             if (given.empty() && !r.HasValue()) r.Fail("--profile needs a profile's GUID");
             while (r.HasValue()) given.push_back(r.Take());
             for (const Utf8Text& guid : given) {
                 const std::optional<AnsiText> braced = BracedGuid(guid);
                 if (!braced) return r.Fail("--profile takes a profile's GUID, not \"" + guid + "\"");
                 remove.profileGuids.push_back(*braced);
             }
         }},
    };
    if (auto error = ReadOptions(reader, handlers)) return *error;
    const auto refused = [](std::string message) { return UsageError{std::move(message), "delete"}; };
    if (remove.profiles) return CheckProfileDeletion(remove, handOver, successor, notSeenFor);
    if (!remove.profileGuids.empty()) return refused("--profile needs --profiles");
    if (handOver && successor) return refused("delete takes --hand-over or --hand-over-to, not both");
    if (handOver) remove.handOver.ask = HandOverAsk::Automatic;
    // The ghost's settings must be gone before the successor takes them.
    if (remove.handOver.ask != HandOverAsk::None && !remove.withIpSettings) {
        return refused(std::string(handOver ? "--hand-over" : "--hand-over-to") + " needs --with-ip-settings");
    }
    // An empty folder would make every backup path a path from the drive's root.
    if (remove.backupFolder && remove.backupFolder->empty()) return refused("--backup-dir needs a folder, not \"\"");
    if (remove.filter.staleOnly && !remove.keys.empty()) return refused("delete takes --stale or --key, not both");
    if (!remove.filter.staleOnly && remove.keys.empty()) return refused("delete needs --stale or --key PATH");
    if (auto error = NeedsStale(remove.filter, notSeenFor, "delete")) return *error;
    return remove;
}

// Help for the command named first (or after help), else the general help.
HelpCommand HelpAsked(const std::vector<Utf8Text>& arguments) {
    const std::string first = LowerAscii(arguments[0]);
    if (IsCommand(first)) return {first};
    if (first == "help" && arguments.size() > 1 && IsCommand(LowerAscii(arguments[1]))) return {LowerAscii(arguments[1])};
    return {};
}

}  // namespace

ConsoleCommand ParseArguments(const std::vector<Utf8Text>& arguments) {
    if (arguments.empty()) return UsageError{"no command given"};
    // A help flag wins over everything else, even where a value should be.
    if (std::any_of(arguments.begin(), arguments.end(), IsHelpFlag)) return HelpAsked(arguments);
    const std::string command = LowerAscii(arguments[0]);
    if (command == "help") {
        if (arguments.size() == 1) return HelpCommand{};
        if (!IsCommand(LowerAscii(arguments[1]))) {
            return UsageError{"no help for " + arguments[1] + ": it is no command" + Meant(arguments[1], Commands())};
        }
        if (arguments.size() > 2) return UsageError{"unexpected argument after help " + arguments[1] + ": " + arguments[2]};
        return HelpAsked(arguments);
    }
    if (command == "--version") {
        if (arguments.size() > 1) return UsageError{"unexpected argument after --version: " + arguments[1]};
        return VersionCommand{};
    }
    Reader reader(arguments, command);
    if (command == "list") return ParseList(reader);
    if (command == "check") return ParseCheck(reader);
    if (command == "delete") return ParseDelete(reader);
    std::vector<std::string> words = Commands();
    words.push_back("help");
    return UsageError{"unknown command: " + arguments[0] + Meant(arguments[0], words)};
}

}  // namespace tarvex
