#include "core/device_query.h"

#include <string>

namespace tarvex {

Utf8Text FailureText(const DeviceQueryError& error) {
    return error.call + " failed with error " + std::to_string(error.code) + (error.text.empty() ? "" : ": " + error.text);
}

}  // namespace tarvex
