#pragma once

#include "core/device_query.h"
#include "core/ipv4_settings.h"
#include "util/encoded_text.h"

#include <optional>

namespace tarvex {

// Whether the adapter a connection names is in the system. Unknown stands for
// a connection without a readable PnpInstanceID, and for a scan the device
// query could not answer.
enum class AdapterState { Unknown, Present, NotPresent, NoDevice };

// A row's texts in UTF-8, as a program that prints them shows them.
struct RowTexts {
    Utf8Text key;
    Utf8Text controlSet;
    Utf8Text connection;  // the Name as Windows stores it, through the wide call
    std::optional<Utf8Text> pnpInstanceId;
};

// One connection entry as the scan finds it.
struct ConnectionRow {
    AnsiText key;   // below HKLM: the Network path, the class key, the connection key
    AnsiText name;  // the Connection subkey's Name, through the ANSI calls
    std::optional<AnsiText> pnpInstanceId;
    AdapterState adapter = AdapterState::Unknown;
    Utf8Text device;  // the device's friendly name or description; empty without a device
    // The device's recorded dates, present or not; empty without a device.
    std::optional<FileTime> lastArrival;
    std::optional<FileTime> lastRemoval;
    // The IPv4 settings kept under the connection's GUID; none when their key is missing.
    std::optional<Ipv4Settings> ipv4;
    RowTexts texts;   // made only when the scan is asked for them
};

// When the adapter was last connected: now for a present one, the later of
// its two recorded dates for one that is not present; nothing for a row
// without a device, or without dates.
std::optional<FileTime> LastSeen(const ConnectionRow& row, FileTime now);

// "Present", "Not present", "No device", or the empty text.
const char* AdapterText(AdapterState state);


// The n-th piece of text between delimiters, counting from 1; empty pieces
// count. The empty text for an n outside 1 to the number of pieces.
AnsiText GetField(const AnsiText& text, const AnsiText& delimiter, int n);

// The second piece of the key path, such as "ControlSet001".
inline AnsiText ControlSetName(const AnsiText& key) { return GetField(key, "\\", 2); }

// The same key under the current control set: SYSTEM\CurrentControlSet\...
AnsiText InCurrentControlSet(const AnsiText& key);

}  // namespace tarvex
