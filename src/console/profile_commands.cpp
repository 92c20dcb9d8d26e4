#include "console/profile_commands.h"

#include "console/profile_output.h"
#include "console/row_filter.h"
#include "core/ipv4_settings.h"
#include "core/network_profiles.h"
#include "core/profile_deletion.h"
#include "core/profile_services.h"

#include <set>

namespace tarvex {

namespace {

// One command over the network profiles, through the services that reach them.
class ProfileRun {
public:
    explicit ProfileRun(ConsoleSession& session) : session_(session), profiles_(session.services()), services(profiles_.get()) {}

    // Every profile, with whether it is connected now; nothing where that
    // cannot be told and it matters (stale ones asked for, or a deletion).
    // The connected networks Windows keeps no profile for are named.
    std::optional<ProfileScan> Read(bool mustTell, const char* consequence) {
        session_.Phase("reading the network profiles");
        ProfileScan scan = ScanProfiles(services);
        for (const AnsiText& id : scan.unidentified) {
            session_.Say("connected network " + id + " has no stored profile (unidentified)");
        }
        if (!scan.notTold) return scan;
        if (mustTell) {
            session_.Say("tarvex: cannot tell which network profile is connected, " + std::string(consequence) + ": " +
                         *scan.notTold);
            return std::nullopt;
        }
        session_.Say("tarvex: warning: cannot tell which network profile is connected, so Connected is empty: " +
                     *scan.notTold);
        return scan;
    }

    // The profiles the filter keeps; a name that matched none says so.
    std::vector<NetworkProfile> Filtered(const std::vector<NetworkProfile>& profiles, const RowFilter& filter) {
        std::vector<NetworkProfile> kept = FilterProfiles(profiles, filter, services.cases, services.clock.LocalNow());
        if (kept.empty() && !AnyNameMatches(profiles, filter, services.cases)) {
            session_.Say("tarvex: no network profile matches '" + *filter.namePattern +
                                  "'; PATTERN takes * and ?");
        }
        return kept;
    }

    // Why the profiles a stale filter matched by name stay: a name that
    // matched only profiles in use, recent or undated says why none went.
    void ReportKept(const std::vector<NetworkProfile>& profiles, const RowFilter& filter) {
        const ProfilesKept kept = CountProfilesKept(profiles, filter, services.cases, services.clock.LocalNow());
        std::vector<Utf8Text> parts;
        const auto add = [&](std::size_t count, const Utf8Text& why) {
            if (count > 0) parts.push_back(std::to_string(count) + " kept: " + why);
        };
        add(kept.connected, "connected now");
        add(kept.recent, "seen within " + std::to_string(filter.notSeenForDays) + " days");
        add(kept.undated, "no date");
        if (!parts.empty()) session_.Say(JoinTexts(parts, "; "));
    }

    // The profiles --profile names, each once, or the usage error that
    // refuses one: a GUID no listed profile has, or a profile connected now.
    std::optional<ExitCode> Select(const DeleteCommand& command, const std::vector<NetworkProfile>& profiles,
                                   std::vector<NetworkProfile>& selected) {
        std::set<std::size_t> taken;
        for (const AnsiText& guid : command.profileGuids) {
            std::size_t found = 0;
            while (found < profiles.size() && services.cases.Upper(profiles[found].guid) != services.cases.Upper(guid)) {
                ++found;
            }
            if (found == profiles.size()) return session_.Usage("not the GUID of a listed network profile: " + guid, "delete");
            if (profiles[found].connected == true) {
                return session_.Usage("the profile " + guid + " (" + profiles[found].name + ") is connected now, and a "
                                      "connected profile is never deleted: Windows would identify the network "
                                      "afresh, as a new network on the Public category, and its firewall profile "
                                      "would follow",
                                      "delete");
            }
            if (taken.insert(found).second) selected.push_back(profiles[found]);
        }
        return std::nullopt;
    }

private:
    ConsoleSession& session_;
    ProfileServices profiles_;

public:
    const Services& services;
};

}  // namespace

ExitCode ListProfiles(ConsoleSession& session, const ListCommand& list) {
    ProfileRun run(session);
    const std::optional<ProfileScan> scan = run.Read(list.filter.staleOnly, "so none can be told stale");
    if (!scan) return ExitCode::StaleUnknown;
    const std::vector<NetworkProfile> profiles = run.Filtered(scan->profiles, list.filter);
    if (list.filter.staleOnly) run.ReportKept(scan->profiles, list.filter);
    session.Phase("writing the list");
    std::vector<Utf8Text> names;
    for (const NetworkProfile& profile : profiles) {
        const Utf8Text category = CategoryText(profile.category);
        names.push_back(profile.name + (profile.connected == true ? " (connected)" : "") +
                        (category.empty() ? "" : " [" + category + "]"));
    }
    const AnsiCodec& codec = run.services.codec;
    session.Listed(std::to_string(profiles.size()) + " profiles", names,
                   list.format == OutputFormat::Json ? ProfileJson(profiles, codec) : ProfileTsv(profiles, codec));
    return ExitCode::Done;
}

ExitCode CheckProfiles(ConsoleSession& session, const CheckCommand& check) {
    ProfileRun run(session);
    const std::optional<ProfileScan> scan = run.Read(true, "so none can be told stale");
    if (!scan) return ExitCode::StaleUnknown;
    const std::vector<NetworkProfile> stale = run.Filtered(scan->profiles, check.filter);
    run.ReportKept(scan->profiles, check.filter);
    std::vector<Utf8Text> names;
    for (const NetworkProfile& profile : stale) names.push_back(profile.name);
    session.Listed(std::to_string(stale.size()) + " stale profiles", names, std::to_string(stale.size()) + "\n");
    return stale.empty() ? ExitCode::Done : ExitCode::StaleFound;
}

ExitCode DeleteProfiles(ConsoleSession& session, const DeleteCommand& command) {
    ProfileRun run(session);
    const std::optional<ProfileScan> scan = run.Read(true, "so none is deleted");
    if (!scan) return ExitCode::StaleUnknown;
    std::vector<NetworkProfile> selected = run.Filtered(scan->profiles, command.filter);
    if (command.filter.staleOnly) run.ReportKept(scan->profiles, command.filter);
    if (!command.profileGuids.empty()) {
        std::vector<NetworkProfile> named;
        if (auto refused = run.Select(command, selected, named)) return *refused;
        selected = std::move(named);
    }
    std::vector<Utf8Text> names;
    for (const NetworkProfile& profile : selected) names.push_back(profile.name.empty() ? profile.guid : profile.name);
    return session.CarryOut(command, names, run.services, [&] { return PlanProfileDeletion(selected); });
}

}  // namespace tarvex
