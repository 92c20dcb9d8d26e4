#include "console/row_output.h"

#include "console/json_text.h"
#include "core/last_seen.h"

namespace tarvex {

namespace {

std::string JsonStringOrNull(const std::optional<Utf8Text>& text) { return text ? JsonString(*text) : "null"; }

std::string Ipv4Json(const std::optional<Ipv4Settings>& settings) {
    if (!settings) return "null";
    return std::string("{\"dhcp\":") + (settings->dhcp ? "true" : "false") +
           ",\"addresses\":" + JsonStrings(settings->addresses) + ",\"subnetMasks\":" + JsonStrings(settings->subnetMasks) +
           ",\"gateways\":" + JsonStrings(settings->gateways) + ",\"dnsServers\":" + JsonStrings(settings->dnsServers) + "}";
}

std::optional<Utf8Text> DateText(const std::optional<FileTime>& time) {
    if (!time) return std::nullopt;
    return IsoUtcText(*time);
}

}  // namespace

Utf8Text TsvTable(const std::vector<ConnectionRow>& rows, FileTime now) {
    Utf8Text table = "ControlSet\tConnection\tAdapter\tDevice\tKey\tLastSeen\tIPv4\r\n";
    for (const ConnectionRow& row : rows) {
        const RowTexts& texts = row.texts;
        table += TsvField(texts.controlSet) + '\t' + TsvField(texts.connection) + '\t' + AdapterText(row.adapter) +
                 '\t' + TsvField(row.device) + '\t' + TsvField(texts.key) + '\t' +
                 DateText(LastSeen(row, now)).value_or("") + '\t' + TsvField(Ipv4Text(row.ipv4)) + "\r\n";
    }
    return table;
}

std::string JsonArray(const std::vector<ConnectionRow>& rows, FileTime now) {
    std::string json = "[";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ConnectionRow& row = rows[i];
        json += i == 0 ? "\r\n" : ",\r\n";
        const RowTexts& texts = row.texts;
        json += "{\"key\":" + JsonString(texts.key) + ",\"controlSet\":" + JsonString(texts.controlSet) +
                ",\"connection\":" + JsonString(texts.connection) + ",\"adapter\":" + JsonString(AdapterText(row.adapter)) +
                ",\"device\":" + JsonStringOrNull(row.device.empty() ? std::nullopt : std::optional(row.device)) +
                ",\"pnpInstanceId\":" + JsonStringOrNull(texts.pnpInstanceId) +
                ",\"lastSeen\":" + JsonStringOrNull(DateText(LastSeen(row, now))) +
                ",\"lastArrival\":" + JsonStringOrNull(DateText(row.lastArrival)) +
                ",\"lastRemoval\":" + JsonStringOrNull(DateText(row.lastRemoval)) + ",\"ipv4\":" + Ipv4Json(row.ipv4) +
                "}";
    }
    return json + (rows.empty() ? "]\r\n" : "\r\n]\r\n");
}

}  // namespace tarvex
