#pragma once

#include <cmath>

namespace tarvex {

inline constexpr float kTwipsPerInch = 1440.0f;

inline int TwipsToPixels(float twips, unsigned dpi) {
    return static_cast<int>(std::lround(twips * static_cast<float>(dpi) / kTwipsPerInch));
}

inline float PixelsToTwips(int pixels, unsigned dpi) {
    return static_cast<float>(pixels) * kTwipsPerInch / static_cast<float>(dpi);
}

}  // namespace tarvex
