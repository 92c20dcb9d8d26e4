#pragma once

#include "console/console_arguments.h"
#include "console/console_session.h"
#include "core/exit_codes.h"

namespace tarvex {

// list, check and delete with --profiles: the network profiles in the
// 64-bit registry, told connected by the network list service.
ExitCode ListProfiles(ConsoleSession& session, const ListCommand& list);
ExitCode CheckProfiles(ConsoleSession& session, const CheckCommand& check);
ExitCode DeleteProfiles(ConsoleSession& session, const DeleteCommand& command);

}  // namespace tarvex
