#pragma once

#include <windows.h>
#include <commctrl.h>

namespace tarvex {

enum ControlId : int {
    kLV1Id = 100,
    kCmdReadId,
    kComDelId,
    kChkBackupId,
    kChkSelectiveId,
    kCmdCopyId,
    kChkIpSettingsId,
    kChkUninstallId,
};

// One control as designed, in twips from the client area's top left corner.
struct ControlDesign {
    ControlId id;
    const wchar_t* className;
    const wchar_t* caption;
    DWORD style;
    float left, top, width, height;
};

inline constexpr float kClientWidthTwips = 8385;
// The band's second row of check boxes makes the window 360 twips taller
// than the list's first design, so the list opens at the same size.
inline constexpr float kClientHeightTwips = 6930;
inline constexpr float kKeyColumnTwips = 1440;
inline constexpr float kConnectionColumnTwips = 2000;
// The other four share what the first two leave of the list at first show
// (8,145 twips, less its border): every header in sight, and a cut cell
// shown whole in a tip.
inline constexpr float kAdapterColumnTwips = 1100;    // "Not present" whole
inline constexpr float kDeviceColumnTwips = 1290;
inline constexpr float kLastSeenColumnTwips = 1050;   // a short date whole
inline constexpr float kIpv4ColumnTwips = 1200;       // "192.168.100.200" whole

// A caption wider than its button at the designed size wraps onto two lines
// rather than being cut, at any DPI and font.
inline constexpr DWORD kPushButton = WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE;

// In tab order: the list first, so it has the focus when the window opens.
inline constexpr ControlDesign kControlDesigns[] = {
    {kLV1Id, L"SysListView32", L"", WS_BORDER | WS_TABSTOP | WS_CLIPCHILDREN | LVS_REPORT | LVS_SHOWSELALWAYS, 120, 1200, 8175, 5655},
    {kCmdReadId, L"BUTTON", L"&Check", kPushButton, 120, 120, 1215, 615},
    {kComDelId, L"BUTTON", L"&Delete Selected", kPushButton, 1560, 120, 1215, 615},
    {kChkBackupId, L"BUTTON", L"Backup ALL related settings before deleting them", WS_TABSTOP | BS_AUTOCHECKBOX,
     4320, 120, 3855, 255},
    {kChkSelectiveId, L"BUTTON", L"Backup ONLY those settings deleted", WS_TABSTOP | BS_AUTOCHECKBOX, 4320, 480,
     3015, 255},
    {kCmdCopyId, L"BUTTON", L"Co&py table to clipboard", kPushButton, 3000, 120, 1095, 615},
    {kChkIpSettingsId, L"BUTTON", L"Also delete IP settings of absent adapters", WS_TABSTOP | BS_AUTOCHECKBOX, 120,
     840, 3855, 255},
    {kChkUninstallId, L"BUTTON", L"Also uninstall absent adapters", WS_TABSTOP | BS_AUTOCHECKBOX, 4320, 840, 3015,
     255},
};

}  // namespace tarvex
