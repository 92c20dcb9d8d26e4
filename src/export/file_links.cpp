#include "export/file_links.h"

namespace tarvex {

namespace {

// The tag bit Windows sets on every reparse point that names another path.
constexpr std::uint32_t kNameSurrogateBit = 0x20000000;

}  // namespace

bool LeadsToAnotherName(const FileLinks& links) {
    if (!links.known || links.linkCount > 1) return true;
    return links.reparsePoint && (links.reparseTag == 0 || (links.reparseTag & kNameSurrogateBit) != 0);
}

}  // namespace tarvex
