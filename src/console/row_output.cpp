#include "console/row_output.h"

#include "console/utf8.h"
#include "core/last_seen.h"

#include <cstdio>

namespace tarvex {

namespace {

Utf8Text TsvField(Utf8Text text) {
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

void AppendUnit(std::string& json, unsigned unit) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", unit);
    json += escape;
}

std::string JsonString(const Utf8Text& text) {
    std::string json = "\"";
    for (char32_t c : DecodeUtf8(text)) {
        switch (c) {
            case U'"': json += "\\\""; break;
            case U'\\': json += "\\\\"; break;
            case U'\b': json += "\\b"; break;
            case U'\f': json += "\\f"; break;
            case U'\n': json += "\\n"; break;
            case U'\r': json += "\\r"; break;
            case U'\t': json += "\\t"; break;
            default:
                if (c >= 0x20 && c < 0x7F) {
                    json += static_cast<char>(c);
                } else if (c < 0x10000) {
                    AppendUnit(json, static_cast<unsigned>(c));
                } else {
                    AppendUnit(json, 0xD800 + ((c - 0x10000) >> 10));
                    AppendUnit(json, 0xDC00 + ((c - 0x10000) & 0x3FF));
                }
        }
    }
    return json + "\"";
}

std::string JsonStringOrNull(const std::optional<Utf8Text>& text) { return text ? JsonString(*text) : "null"; }

std::optional<Utf8Text> DateText(const std::optional<FileTime>& time) {
    if (!time) return std::nullopt;
    return IsoUtcText(*time);
}

}  // namespace

Utf8Text TsvTable(const std::vector<ConnectionRow>& rows, FileTime now) {
    Utf8Text table = "ControlSet\tConnection\tAdapter\tDevice\tKey\tLastSeen\r\n";
    for (const ConnectionRow& row : rows) {
        const RowTexts& texts = row.texts;
        table += TsvField(texts.controlSet) + '\t' + TsvField(texts.connection) + '\t' + AdapterText(row.adapter) +
                 '\t' + TsvField(row.device) + '\t' + TsvField(texts.key) + '\t' +
                 DateText(LastSeen(row, now)).value_or("") + "\r\n";
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
                ",\"lastRemoval\":" + JsonStringOrNull(DateText(row.lastRemoval)) + "}";
    }
    return json + (rows.empty() ? "]\r\n" : "\r\n]\r\n");
}

}  // namespace tarvex
