#include "core/device_query.h"

#include <string>

namespace tarvex {

Utf8Text FailureText(const DeviceQueryError& error) {
    return error.call + " failed with error " + std::to_string(error.code) + (error.text.empty() ? "" : ": " + error.text);
}

Utf8Text FailureText(const std::optional<DeviceQueryError>& error) {
    return error ? FailureText(*error) : Utf8Text("no reason given");
}

}  // namespace tarvex
