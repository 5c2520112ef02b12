#include "carver/deflate.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "carver/deflate_match.h"
#include "carver/deflate_state.h"
#include "carver/texts.h"

namespace salvor::carver {
namespace {

using deflate::State;

// good, lazy, nice, chain, lazy matching; index = level.
constexpr std::array<deflate::Level, 10> kLevels = {{
    {0, 0, 0, 0, false},
    {0, 4, 8, 4, false},
    {0, 5, 16, 8, false},
    {0, 6, 32, 32, false},
    {4, 4, 16, 16, true},
    {8, 16, 32, 32, true},
    {8, 16, 128, 128, true},
    {8, 32, 128, 256, true},
    {32, 128, 258, 1024, true},
    {32, 258, 258, 4096, true},
}};

// Moves the upper half of the window down; hash entries that pointed into
// the lower half end their chains. Bytes of the current block that leave the
// window go to `spill` so that the block can still be sent stored.
void Slide(State& s) {
  constexpr std::size_t w = deflate::kWindowSize;
  if (s.block_start < static_cast<std::ptrdiff_t>(w)) {
    const std::size_t from = s.block_start < 0 ? 0 : static_cast<std::size_t>(s.block_start);
    s.spill.insert(s.spill.end(), s.window.begin() + static_cast<std::ptrdiff_t>(from),
                   s.window.begin() + static_cast<std::ptrdiff_t>(w));
  }
  std::memmove(s.window.data(), s.window.data() + w, w);
  s.pos -= w;
  s.insert_next -= w;
  s.block_start -= static_cast<std::ptrdiff_t>(w);
  for (auto& h : s.head) h = static_cast<std::uint16_t>(h >= w ? h - w : 0);
  for (auto& p : s.prev) p = static_cast<std::uint16_t>(p >= w ? p - w : 0);
}

bool FlushBlock(State& s, deflate::BitWriter& writer, bool last) {
  const std::size_t from = s.block_start < 0 ? 0 : static_cast<std::size_t>(s.block_start);
  const deflate::RawBytes raw{s.spill, std::span<const std::uint8_t>(s.window).subspan(from, s.pos - from)};
  const bool ok = deflate::WriteBlock(writer, s.block, raw, last);
  s.block.Clear();
  s.spill.clear();
  s.block_start = static_cast<std::ptrdiff_t>(s.pos);
  return ok;
}

void Advance(State& s, std::size_t n) {
  s.pos += n;
  s.lookahead -= n;
}

// Encodes while at least `min_lookahead` bytes are in front of pos (all of
// them at the end of the input). Returns false on a block size mismatch.
bool Compress(State& s, deflate::BitWriter& writer, std::size_t min_lookahead) {
  const deflate::Level& level = s.level;
  while (s.lookahead >= min_lookahead && s.lookahead > 0) {
    deflate::Match match;
    if (s.carried_length != 0) {
      match = {s.carried_length, s.carried_distance};
      s.carried_length = 0;
    } else {
      deflate::InsertUpTo(s, s.pos);
      match = deflate::LongestMatch(s, s.pos, 0);
    }

    if (match.length == 0) {
      s.block.AddLiteral(s.window[s.pos]);
      Advance(s, 1);
    } else if (level.lazy_matching && match.length < level.lazy && s.lookahead > match.length) {
      // Is a longer match waiting one byte further on? Then this byte goes
      // out as a literal and the longer match is taken next.
      deflate::InsertUpTo(s, s.pos + 1);
      const deflate::Match next = deflate::LongestMatch(s, s.pos + 1, match.length);
      if (next.length > match.length) {
        s.block.AddLiteral(s.window[s.pos]);
        Advance(s, 1);
        s.carried_length = next.length;
        s.carried_distance = next.distance;
      } else {
        s.block.AddMatch(match.length, match.distance);
        Advance(s, match.length);
      }
    } else {
      s.block.AddMatch(match.length, match.distance);
      // Greedy levels skip the chains inside long matches to save time.
      if (!level.lazy_matching && match.length > level.lazy) s.insert_next = s.pos + match.length;
      Advance(s, match.length);
    }
    if (s.block.Full() && !FlushBlock(s, writer, false)) return false;
  }
  return true;
}

}  // namespace

DeflateStream::DeflateStream() = default;
DeflateStream::~DeflateStream() = default;
DeflateStream::DeflateStream(DeflateStream&&) noexcept = default;
DeflateStream& DeflateStream::operator=(DeflateStream&&) noexcept = default;

DeflateResult DeflateStart(DeflateStream& stream, int level) {
  if (level < 1 || level > 9) return {false, text::kBadPackLevel};
  if (!stream.state) {
    stream.state = std::make_unique<State>();
  } else {
    State& s = *stream.state;
    std::fill(s.head.begin(), s.head.end(), std::uint16_t{0});
    s.pos = s.lookahead = s.insert_next = 0;
    s.carried_length = s.carried_distance = 0;
    s.block.Clear();
    s.block_start = 0;
    s.spill.clear();
    s.bits = {};
    s.finished = false;
  }
  stream.state->level = kLevels[static_cast<std::size_t>(level)];
  return {};
}

DeflateResult DeflateWrite(DeflateStream& stream, std::span<const std::uint8_t> input, bool last,
                           std::vector<std::uint8_t>& out) {
  if (!stream.state || stream.state->finished) return {false, "deflate stream not started"};
  State& s = *stream.state;
  deflate::BitWriter writer(out, s.bits);
  std::size_t used = 0;
  for (;;) {
    if (used < input.size()) {
      if (s.pos >= deflate::kWindowBytes - deflate::kMinLookahead) Slide(s);
      const std::size_t room = deflate::kWindowBytes - (s.pos + s.lookahead);
      const std::size_t n = std::min(room, input.size() - used);
      std::memcpy(s.window.data() + s.pos + s.lookahead, input.data() + used, n);
      s.lookahead += n;
      used += n;
    }
    const bool all_in = used == input.size();
    if (!Compress(s, writer, all_in && last ? 1 : deflate::kMinLookahead))
      return {false, text::kBadCompressedSize};
    if (all_in) break;
  }
  if (last) {
    if (!FlushBlock(s, writer, true)) return {false, text::kBadCompressedSize};
    writer.AlignToByte();
    s.finished = true;
  }
  return {};
}

DeflateResult DeflateBuffer(std::span<const std::uint8_t> input, int level,
                            std::vector<std::uint8_t>& out) {
  DeflateStream stream;
  if (DeflateResult r = DeflateStart(stream, level); !r.ok) return r;
  return DeflateWrite(stream, input, true, out);
}

DeflateResult DeflateToBuffer(std::span<const std::uint8_t> input, int level,
                              std::span<std::uint8_t> out, std::size_t& written) {
  written = 0;
  std::vector<std::uint8_t> packed;
  if (DeflateResult r = DeflateBuffer(input, level, packed); !r.ok) return r;
  if (packed.size() > out.size()) return {false, text::kOutputBufferTooSmall};
  std::copy(packed.begin(), packed.end(), out.begin());
  written = packed.size();
  return {};
}

std::uint64_t DeflateBound(std::uint64_t size) {
  // Every block is at most its stored form: up to 42 bits of header per
  // 65535 bytes and per block, and a block holds at least kBlockSymbols bytes
  // unless it is the last.
  static_assert(deflate::kBlockSymbols >= 16384);
  return size + (size >> 11) + 32;
}

}  // namespace salvor::carver
