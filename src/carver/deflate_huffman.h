#pragma once
// Huffman code construction for Deflate blocks: optimal code lengths under a
// length limit (package-merge) and the canonical codes that RFC 1951 3.2.2
// derives from them, bit-reversed because Deflate sends codes from the top bit
// while the bit writer fills bytes from the bottom.

#include <cstdint>
#include <span>

namespace salvor::carver::deflate {

// Writes into `lengths` (same size as `freqs`) optimal code lengths of at most
// `max_bits` for the symbols of non-zero frequency; unused symbols get 0.
// A lone used symbol gets length 1. Requires the used count <= 2^max_bits.
void LimitedCodeLengths(std::span<const std::uint32_t> freqs, int max_bits,
                        std::span<std::uint8_t> lengths);

// Canonical codes for `lengths`, bit-reversed, into `codes` (same size).
void CanonicalCodes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes);

}  // namespace salvor::carver::deflate
