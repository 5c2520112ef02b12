#pragma once
// One Deflate block: the LZ77 symbols the match finder produced, their
// frequencies, and the writer that sends them as a stored, fixed-Huffman or
// dynamic-Huffman block, whichever takes the fewest bits.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "carver/deflate_bits.h"
#include "carver/deflate_tables.h"

namespace salvor::carver::deflate {

// A symbol is a literal byte (bits 0-7, distance 0) or a match: length - 3 in
// bits 0-7 and the distance (1-32768) in bits 8-23.
struct BlockSymbols {
  std::vector<std::uint32_t> symbols;
  std::size_t count = 0;
  std::array<std::uint32_t, kLitLenCodes> litlen_freq{};
  std::array<std::uint32_t, kDistCodes> dist_freq{};

  explicit BlockSymbols(std::size_t capacity) : symbols(capacity) {}
  bool Full() const { return count == symbols.size(); }
  void Clear() {
    count = 0;
    litlen_freq.fill(0);
    dist_freq.fill(0);
  }
  void AddLiteral(std::uint8_t byte) {
    symbols[count++] = byte;
    ++litlen_freq[byte];
  }
  void AddMatch(unsigned length, unsigned distance) {
    const unsigned lc = length - kMinMatch;
    symbols[count++] = lc | (distance << 8);
    ++litlen_freq[257u + kLengthCode[lc]];
    ++dist_freq[static_cast<std::size_t>(DistCode(distance))];
  }
};

// The uncompressed bytes of the block, possibly in two pieces (the part that
// the window already let go of, then the part still in it).
struct RawBytes {
  std::span<const std::uint8_t> first;
  std::span<const std::uint8_t> second;
  std::size_t size() const { return first.size() + second.size(); }
};

// Writes the block (its end-of-block code included) in the cheapest form.
// Returns false when the bits written disagree with the size computed for the
// chosen form, which would mean a broken stream.
bool WriteBlock(BitWriter& writer, const BlockSymbols& block, RawBytes raw, bool last);

}  // namespace salvor::carver::deflate
