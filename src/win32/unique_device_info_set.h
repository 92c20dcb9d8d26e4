#pragma once

#include "util/unique_handle.h"

#include <windows.h>
#include <setupapi.h>

namespace tarvex {

struct DeviceInfoSetCloser {
    using Handle = HDEVINFO;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static constexpr bool kNothingHeld = true;
    bool operator()(Handle set) const { return SetupDiDestroyDeviceInfoList(set) != FALSE; }
};

using UniqueDeviceInfoSet = UniqueHandle<DeviceInfoSetCloser>;

}  // namespace tarvex
