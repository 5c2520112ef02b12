#pragma once
// Hash chains and the longest-match search of the LZ77 stage.

#include <algorithm>
#include <bit>

#include "carver/deflate_state.h"
#include "disk/byte_reader.h"

namespace salvor::carver::deflate {

// Hash of the three bytes at p (the fourth byte loaded is shifted out).
inline std::uint32_t Hash3(const std::uint8_t* p) {
  return ((LoadU32(p) << 8) * 2654435761u) >> (32 - kHashBits);
}

// Enters positions insert_next .. upto into the chains; positions without
// three bytes of input behind them (only at the very end) are left out.
inline void InsertUpTo(State& s, std::size_t upto) {
  const std::size_t data_end = s.pos + s.lookahead;
  const std::size_t hashable_end = data_end >= kMinMatch ? data_end - kMinMatch + 1 : 0;
  const std::size_t end = std::min(upto + 1, hashable_end);
  std::uint8_t* const w = s.window.data();
  for (std::size_t i = s.insert_next; i < end; ++i) {
    const std::uint32_t h = Hash3(w + i);
    s.prev[i & (kWindowSize - 1)] = s.head[h];
    s.head[h] = static_cast<std::uint16_t>(i);
  }
  s.insert_next = std::max(s.insert_next, upto + 1);
}

// Number of equal leading bytes of a and b, at most max_len.
inline unsigned CommonLength(const std::uint8_t* a, const std::uint8_t* b, unsigned max_len) {
  unsigned len = 0;
  while (len < max_len) {
    const std::uint64_t diff = LoadU64(a + len) ^ LoadU64(b + len);
    if (diff != 0) return std::min(max_len, len + static_cast<unsigned>(std::countr_zero(diff) >> 3));
    len += 8;
  }
  return max_len;
}

struct Match {
  unsigned length = 0;  // 0: none worth taking
  unsigned distance = 0;
};

// The longest match at window position p that is longer than `better_than`.
// p must already be in the chains.
inline Match LongestMatch(const State& s, std::size_t p, unsigned better_than) {
  const std::size_t data_end = s.pos + s.lookahead;
  const unsigned max_len = static_cast<unsigned>(std::min<std::size_t>(kMaxMatch, data_end - p));
  Match best;
  if (max_len < kMinMatch || better_than >= max_len) return best;
  const Level& level = s.level;
  unsigned chain = level.chain;
  if (better_than >= level.good) chain >>= 2;
  const unsigned nice = std::min<unsigned>(level.nice, max_len);
  const std::size_t limit = p > kMaxDistance ? p - kMaxDistance : 0;
  const std::uint8_t* const w = s.window.data();
  const std::uint8_t* const scan = w + p;
  unsigned best_len = std::max(better_than, unsigned{kMinMatch - 1});
  std::size_t cur = s.prev[p & (kWindowSize - 1)];
  while (cur > limit) {
    const std::uint8_t* m = w + cur;
    if (LoadU16(m + best_len - 1) == LoadU16(scan + best_len - 1) && LoadU16(m) == LoadU16(scan)) {
      const unsigned len = CommonLength(scan, m, max_len);
      if (len > best_len) {
        best_len = len;
        best.distance = static_cast<unsigned>(p - cur);
        if (len >= nice) break;
      }
    }
    if (--chain == 0) break;
    cur = s.prev[cur & (kWindowSize - 1)];
  }
  if (best.distance == 0) return Match{};
  best.length = best_len;
  if (best.length == kMinMatch && best.distance > kTooFar) return Match{};
  return best;
}

}  // namespace salvor::carver::deflate
