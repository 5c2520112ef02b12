#pragma once
// zlib as an independent reader (and, for size comparisons, writer) of raw
// Deflate streams in the tests. Never linked into the product.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace salvor::testing {

// Inflates a raw Deflate stream; nullopt unless it is one complete, valid
// stream that uses every input byte.
std::optional<std::vector<std::uint8_t>> ZlibInflateRaw(std::span<const std::uint8_t> packed);

// zlib's raw Deflate of `data` at `level`.
std::vector<std::uint8_t> ZlibDeflateRaw(std::span<const std::uint8_t> data, int level);

}  // namespace salvor::testing
