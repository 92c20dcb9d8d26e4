#pragma once

#include "core/event_log.h"

#include <vector>

namespace tarvex {

// The SID of the user this process runs as, from its token (TokenUser);
// empty when the token cannot be read.
std::vector<unsigned char> ProcessUserSid();

// The account a SID names as DOMAIN\name; its S-1-... text when no name is
// found (a deleted or a domain account out of reach); empty for no SID.
Utf8Text AccountName(const std::vector<unsigned char>& sid);

// This process's user, program file and command line, as the events name them.
RunIdentity CurrentRunIdentity();

}  // namespace tarvex
