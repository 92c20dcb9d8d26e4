#pragma once

#include "core/services.h"
#include "registry/registry_64_view.h"

namespace tarvex {

// The services network profiles are read and deleted through: the registry
// through its 64-bit view, where Windows keeps the network list alone,
// whatever the program's own bitness; the rest as given.
class ProfileServices {
public:
    explicit ProfileServices(const Services& services)
        : view_(services.registry),
          services_{view_,          services.unicode, services.devices, services.installer, services.files,
                    services.clock, services.codec,   services.cases,   services.pointer,   services.networks,
                    services.events} {}
    ProfileServices(const ProfileServices&) = delete;
    ProfileServices& operator=(const ProfileServices&) = delete;

    const Services& get() const { return services_; }

private:
    Registry64View view_;
    Services services_;  // after the view it reads through
};

}  // namespace tarvex
