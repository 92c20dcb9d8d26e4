#pragma once

#include <algorithm>
#include <cstddef>

namespace tarvex {

// Writes count units in pieces of at most largestPiece, going on from where
// each write stopped: write(data, pieceSize, written) gives false on
// failure and sets written to what it took. False when a write fails or
// takes nothing (or more than it was given), so a stuck stream ends the loop.
template <typename Unit, typename Write>
bool WriteAll(const Unit* data, std::size_t count, std::size_t largestPiece, Write write) {
    while (count > 0) {
        const std::size_t piece = std::min(count, largestPiece);
        std::size_t written = 0;
        if (!write(data, piece, written) || written == 0 || written > piece) return false;
        data += written;
        count -= written;
    }
    return true;
}

}  // namespace tarvex
