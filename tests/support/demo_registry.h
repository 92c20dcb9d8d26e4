#pragma once

#include "support/registry_writer.h"

namespace tarvex {

// Fills a registry with connection entries under the control sets' Network
// keys, awkward cases included. Returns the first failing status, or 0.
Status SeedDemoRegistry(RegistryWriter& writer);

}  // namespace tarvex
