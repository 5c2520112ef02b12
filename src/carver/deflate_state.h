#pragma once
// Inside of a Deflate stream: the sliding window with its hash chains, the
// block being collected and the bits not yet written out.

#include <cstdint>
#include <vector>

#include "carver/deflate_bits.h"
#include "carver/deflate_block.h"
#include "carver/deflate_tables.h"

namespace salvor::carver::deflate {

// Per-level search effort. A lazy level looks one byte ahead before taking a
// match; a greedy one takes the first match it finds.
struct Level {
  std::uint16_t good;   // a match this long already: search a quarter of the chain
  std::uint16_t lazy;   // lazy: no look-ahead past a match this long; greedy: longest
                        // match whose inner positions still enter the hash chains
  std::uint16_t nice;   // stop searching at a match this long
  std::uint16_t chain;  // candidates tried per search
  bool lazy_matching;
};

// The window holds two window sizes of input: history behind `pos` and the
// look-ahead in front. When `pos` nears the end the upper half slides down.
inline constexpr std::size_t kWindowBytes = 2 * kWindowSize;
inline constexpr std::size_t kWindowPad = 16;  // word compares may read past the data
inline constexpr std::size_t kMinLookahead = kMaxMatch + kMinMatch + 1;
// Matches reach back at most this far, so that a slide never removes a byte
// a chain still needs (the window keeps at least this much history).
inline constexpr std::size_t kMaxDistance = kWindowSize - kMinLookahead;
inline constexpr int kHashBits = 15;
inline constexpr std::size_t kHashSize = std::size_t{1} << kHashBits;
inline constexpr std::size_t kBlockSymbols = 16384;
// A distance-3 match this far back costs about as much as three literals.
inline constexpr unsigned kTooFar = 4096;

struct State {
  Level level{};
  std::vector<std::uint8_t> window = std::vector<std::uint8_t>(kWindowBytes + kWindowPad);
  // Hash heads and chains hold window positions; 0 ends a chain (position 0
  // never starts a match, a negligible loss).
  std::vector<std::uint16_t> head = std::vector<std::uint16_t>(kHashSize);
  std::vector<std::uint16_t> prev = std::vector<std::uint16_t>(kWindowSize);
  std::size_t pos = 0;          // next byte to encode
  std::size_t lookahead = 0;    // bytes from pos on that are in the window
  std::size_t insert_next = 0;  // next position to enter into the hash chains
  // A match found at `pos` while looking ahead, carried to the next step.
  unsigned carried_length = 0;
  unsigned carried_distance = 0;

  BlockSymbols block{kBlockSymbols};
  // Where the current block's bytes begin; negative once a slide moved some
  // of them out of the window, those being kept in `spill` for a stored block.
  std::ptrdiff_t block_start = 0;
  std::vector<std::uint8_t> spill;

  PendingBits bits;
  bool finished = false;
};

}  // namespace salvor::carver::deflate
