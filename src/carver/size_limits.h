#pragma once
// Leaving out found files by size before a save: carving finds thousands of
// thumbnails and fragments that no one wants back.

#include <cstdint>

#include "carver/found_tree.h"

namespace salvor::carver {

// Unchecks every checked file below `node` shorter than min_bytes or longer
// than max_bytes (0: no limit on that side). Returns how many were unchecked.
std::uint64_t ApplySizeLimits(FoundNode& node, std::uint64_t min_bytes, std::uint64_t max_bytes);

}  // namespace salvor::carver
