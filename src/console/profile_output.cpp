#include "console/profile_output.h"

#include "console/json_text.h"
#include "console/row_output.h"
#include "core/ipv4_settings.h"

namespace tarvex {

namespace {

std::string TextOrNull(const Utf8Text& text) { return text.empty() ? "null" : JsonString(text); }

std::string FlagOrNull(const std::optional<bool>& flag) { return flag ? (*flag ? "true" : "false") : "null"; }

std::optional<bool> Managed(const NetworkProfile& profile) {
    if (!profile.managed) return std::nullopt;
    return *profile.managed != 0;
}

Utf8Text YesNo(const std::optional<bool>& flag) { return flag ? (*flag ? "yes" : "no") : ""; }

}  // namespace

Utf8Text ProfileTsv(const std::vector<NetworkProfile>& profiles, const AnsiCodec& codec) {
    Utf8Text table = "Name\tCategory\tKind\tManaged\tCreated\tLastConnected\tConnected\tGatewayMac\tDnsSuffix\tKey\r\n";
    for (const NetworkProfile& profile : profiles) {
        table += TsvField(profile.name) + '\t' + CategoryText(profile.category) + '\t' + KindText(profile.nameType) +
                 '\t' + YesNo(Managed(profile)) + '\t' + LocalTimeText(profile.created) + '\t' +
                 LocalTimeText(profile.lastConnected) + '\t' + YesNo(profile.connected) + '\t' +
                 JoinTexts(profile.gatewayMacs, ",") + '\t' + TsvField(JoinTexts(profile.dnsSuffixes, ",")) + '\t' +
                 TsvField(codec.ToUtf8(profile.key)) + "\r\n";
    }
    return table;
}

std::string ProfileJson(const std::vector<NetworkProfile>& profiles, const AnsiCodec& codec) {
    std::string json = "[";
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        const NetworkProfile& profile = profiles[i];
        json += i == 0 ? "\r\n" : ",\r\n";
        json += "{\"name\":" + JsonString(profile.name) + ",\"category\":" + TextOrNull(CategoryText(profile.category)) +
                ",\"kind\":" + TextOrNull(KindText(profile.nameType)) + ",\"managed\":" + FlagOrNull(Managed(profile)) +
                ",\"created\":" + TextOrNull(LocalTimeText(profile.created)) +
                ",\"lastConnected\":" + TextOrNull(LocalTimeText(profile.lastConnected)) +
                ",\"connected\":" + FlagOrNull(profile.connected) + ",\"gatewayMac\":" + JsonStrings(profile.gatewayMacs) +
                ",\"dnsSuffix\":" + JsonStrings(profile.dnsSuffixes) + ",\"key\":" + JsonString(codec.ToUtf8(profile.key)) +
                "}";
    }
    return json + (profiles.empty() ? "]\r\n" : "\r\n]\r\n");
}

}  // namespace tarvex
