#pragma once

#include "core/services.h"
#include "window/connection_list.h"
#include "window/message_boxes.h"

namespace tarvex {

// The box after a scan whose device query failed: these around the failure's text.
inline constexpr char kDevicesNotListedText[] = "The network devices could not be listed: ";
inline constexpr char kDeviceCellsEmptyText[] =
    "\n\nThe Adapter, Device and Last seen columns are empty, and tell nothing of which entries are stale.";

// Empties the list, then fills it with the scan's rows. When the devices
// could not be listed, one box says so after the list is filled.
void FillConnectionList(const Services& services, ConnectionList& list, MessageBoxes& messages);

}  // namespace tarvex
