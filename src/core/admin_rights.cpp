#include "core/admin_rights.h"

#include "core/network_paths.h"
#include "registry/unique_key.h"

namespace tarvex {

Status CheckAdminRights(RegistryApi& registry) {
    UniqueKey network(registry);
    const Status status = network.Open(kLocalMachine, kNetworkPaths[0], kReadWriteMask);
    return status == kFileNotFound ? kSuccess : status;
}

}  // namespace tarvex
