#pragma once

#include "window/connection_list.h"
#include "window/event_pump.h"
#include "window/form_events.h"
#include "window/form_layout.h"

namespace tarvex {

// Fits LV1 below the button band with equal margins; a minimised window is left alone.
void FitList(FormLayout& layout);

// Columns from 1: "Key", "Connection", "Adapter", "Device", "Last seen", "IPv4". One
// direction for the whole list, flipped on every click.
void SortByColumn(ConnectionList& list, EventPump& pump, int clickedColumn);

// The first selected row's mark decides: every selected row gets its opposite.
void ToggleSelectedMarks(ConnectionList& list, int button);

}  // namespace tarvex
