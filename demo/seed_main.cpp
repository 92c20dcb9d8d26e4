#include "support/demo_registry.h"
#include "support/win32_registry_writer.h"

#include <cstdio>

// Seeds the registry of the running (wine) prefix with demo connection entries.
int main() {
    tarvex::Win32RegistryWriter writer;
    tarvex::Status status = tarvex::SeedDemoRegistry(writer);
    if (status != tarvex::kSuccess) {
        std::fprintf(stderr, "seeding the demo registry failed with status %d\n", static_cast<int>(status));
        return 1;
    }
    std::printf("demo registry seeded\n");
    return 0;
}
