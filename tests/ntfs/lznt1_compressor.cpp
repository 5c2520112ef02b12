#include "lznt1_compressor.h"

#include <algorithm>

namespace salvor::testing {
namespace {

std::vector<std::uint8_t> CompressChunk(const std::uint8_t* in, std::size_t n) {
  std::vector<std::uint8_t> out;
  std::size_t p = 0;
  while (p < n) {
    std::size_t flag_at = out.size();
    out.push_back(0);
    for (int bit = 0; bit < 8 && p < n; ++bit) {
      unsigned shift = 12;
      if (p > 0)
        for (std::size_t i = p - 1; i >= 16; i >>= 1) --shift;
      const std::size_t max_length = (std::size_t{0xFFFF} >> (16 - shift)) + 3;
      const std::size_t max_displacement = std::size_t{1} << (16 - shift);
      std::size_t best_length = 0, best_displacement = 0;
      for (std::size_t d = 1; d <= std::min(p, max_displacement); ++d) {
        std::size_t l = 0;
        while (l < max_length && p + l < n && in[p + l] == in[p - d + l]) ++l;
        if (l > best_length) {
          best_length = l;
          best_displacement = d;
        }
      }
      if (best_length >= 3) {
        std::uint16_t token = static_cast<std::uint16_t>(((best_displacement - 1) << shift) |
                                                         (best_length - 3));
        out.push_back(static_cast<std::uint8_t>(token));
        out.push_back(static_cast<std::uint8_t>(token >> 8));
        out[flag_at] |= static_cast<std::uint8_t>(1u << bit);
        p += best_length;
      } else {
        out.push_back(in[p++]);
      }
    }
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> CompressLznt1(const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> out;
  for (std::size_t at = 0; at < data.size(); at += 4096) {
    const std::size_t n = std::min<std::size_t>(4096, data.size() - at);
    std::vector<std::uint8_t> chunk = CompressChunk(data.data() + at, n);
    std::uint16_t header;
    if (chunk.size() >= n) {  // stored as is
      chunk.assign(data.begin() + at, data.begin() + at + n);
      header = static_cast<std::uint16_t>(0x3000 | (n - 1));
    } else {
      header = static_cast<std::uint16_t>(0xB000 | (chunk.size() - 1));
    }
    out.push_back(static_cast<std::uint8_t>(header));
    out.push_back(static_cast<std::uint8_t>(header >> 8));
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

}  // namespace salvor::testing
