#pragma once
// A plain LZNT1 compressor for tests: greedy longest match over the chunk
// written so far. Slow, but it produces the same stream shapes NTFS writes
// (compressed chunks, and stored chunks where compression does not pay).

#include <cstdint>
#include <vector>

namespace salvor::testing {

std::vector<std::uint8_t> CompressLznt1(const std::vector<std::uint8_t>& data);

}  // namespace salvor::testing
