#pragma once

#include "util/encoded_text.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tarvex {

// A point in time in UTC, in 100-nanosecond ticks since 1601 (a FILETIME).
using FileTime = std::uint64_t;

struct NetworkDevice {
    AnsiText instanceId;  // as a connection's PnpInstanceID names it
    Utf8Text name;        // friendly name, else description; may be empty
    // When Windows last saw it connected and removed; unknown on older
    // systems and for devices that never recorded them.
    std::optional<FileTime> lastArrival;
    std::optional<FileTime> lastRemoval;
};

// A device present now, and where its driver keeps its settings.
struct DeviceDriver {
    AnsiText instanceId;
    Utf8Text name;
    AnsiText driver;  // its driver key below Control\Class ("{class}\0007"); empty without one
};

// Why a device query gave no list: the call that failed and its error.
struct DeviceQueryError {
    Utf8Text call;
    std::uint32_t code = 0;
    Utf8Text text;  // the system's words for the code; may be empty
};

// As both programs report it: "CALL failed with error N: TEXT".
Utf8Text FailureText(const DeviceQueryError& error);
// The same, or "no reason given" when the failure named none.
Utf8Text FailureText(const std::optional<DeviceQueryError>& error);

// A whole list of devices, or the error that kept it from being whole: a
// partial list would make live adapters look gone.
template <typename Device>
struct DeviceList {
    std::vector<Device> devices;
    std::optional<DeviceQueryError> error;
};

// The network-class devices Windows knows.
class DeviceQuery {
public:
    virtual ~DeviceQuery() = default;
    // The instance IDs of the devices present now.
    virtual DeviceList<AnsiText> PresentDevices() = 0;
    // Every device Windows knows, connected or not, with its name.
    virtual DeviceList<NetworkDevice> KnownDevices() = 0;
    // The devices present now, each with its driver key.
    virtual DeviceList<DeviceDriver> PresentDrivers() = 0;
};

}  // namespace tarvex
