#pragma once

#include "core/ipv4_settings.h"
#include "core/key_values.h"
#include "core/present_adapters.h"
#include "core/services.h"
#include "util/encoded_text.h"

#include <optional>
#include <vector>

namespace tarvex {

// Why a present adapter cannot take the ghost's settings, judged by its
// IPv4 interface key's values; nothing when it can. Every rule lives here,
// for the plan and for the look just before the write: physical, with an
// entry, on DHCP with no static address of its own, not kept off DHCP, not
// leased by Azure's DHCP service, and on no lease the ghost's address or
// gateway would leave. A reason names the lease and its server, or the
// address, that stands in the way.
std::optional<Utf8Text> WhyNotSuccessor(const Services& services, const PresentAdapter& adapter, bool hasEntry,
                                        const KeyValues& values, const Ipv4Settings& ghost);

// The adapter's static addresses, 0.0.0.0 left out.
std::vector<AnsiText> StaticAddresses(const KeyValues& values);

// The adapter's DHCP address now, when it has a working one: not 0.0.0.0
// and parsed as an address; empty otherwise.
AnsiText WorkingLease(const KeyValues& values);

}  // namespace tarvex
