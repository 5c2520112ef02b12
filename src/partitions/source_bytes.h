#pragma once
// Reading a run of bytes that starts at a sector of the source.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "disk/sector_source.h"

namespace salvor {

// `bytes` bytes from `sector` on, read as whole sectors into a cleared buffer
// (unreadable sectors stay zero).
std::vector<std::uint8_t> ReadBytesAt(SectorSource& source, std::uint64_t sector, std::size_t bytes);

}  // namespace salvor
