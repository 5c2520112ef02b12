#include "ntfs/lznt1.h"

#include <algorithm>
#include <cstring>

#include "disk/byte_reader.h"

namespace salvor {
namespace {

constexpr std::uint16_t kChunkSizeMask = 0x0FFF;
constexpr std::uint16_t kChunkCompressed = 0x8000;

// Decodes one compressed chunk's data into out[0 .. room). Returns the bytes
// produced. The back reference split narrows the length field as the output
// position grows: displacement bits = max(4, bits needed for position - 1).
std::size_t DecodeChunk(std::span<const std::uint8_t> data, std::uint8_t* out, std::size_t room) {
  std::size_t p = 0;
  std::size_t j = 0;
  const std::size_t n = data.size();
  while (j < n) {
    const std::uint8_t flags = data[j++];
    for (int bit = 0; bit < 8 && j < n; ++bit) {
      if ((flags & (1u << bit)) == 0) {
        if (p >= room) return p;
        out[p++] = data[j++];
        continue;
      }
      if (j + 2 > n) return p;  // a back reference cut off by the chunk's end
      const std::uint16_t token = LoadU16(&data[j]);
      j += 2;
      std::uint16_t mask = 0x0FFF;
      unsigned shift = 12;
      if (p != 0) {
        for (auto i = static_cast<std::uint16_t>(p - 1); i >= 16; i >>= 1) {
          mask >>= 1;
          --shift;
        }
      }
      const std::size_t length = (token & mask) + 3u;
      const std::size_t displacement = (std::size_t{token} >> shift) + 1u;
      std::size_t from = displacement > p ? 0 : p - displacement;
      for (std::size_t c = 0; c < length; ++c) {
        if (p >= room) return p;
        out[p++] = out[from++];  // byte by byte: overlapping copies repeat
      }
    }
  }
  return p;
}

}  // namespace

bool IsCompressedStream(std::span<const std::uint8_t> data) {
  ByteReader r(data);
  const std::size_t length = data.size();
  std::size_t p = 0;
  for (;;) {
    auto header = r.U16(p);
    if (!header) return false;
    p += 2;
    const std::size_t k = *header & kChunkSizeMask;
    if (k == 0) return p <= length;
    p += k + 1;
    if (p >= length) return p == length;
  }
}

std::size_t DecompressLznt1(std::span<const std::uint8_t> source,
                            std::span<std::uint8_t> destination) {
  ByteReader r(source);
  const std::size_t cap = destination.size();
  std::size_t i = 0;
  std::size_t o = 0;
  while (i < source.size() && o < cap) {
    auto header = r.U16(i);
    if (!header) break;
    i += 2;
    const std::size_t k = *header & kChunkSizeMask;
    if (k == 0) break;
    // The chunk's data, cut to what the source really holds.
    const std::size_t size = std::min(k + 1, source.size() - i);
    auto data = source.subspan(i, size);
    if (*header & kChunkCompressed) {
      o += DecodeChunk(data, destination.data() + o, cap - o);
    } else {
      const std::size_t n = std::min(size, cap - o);
      std::memcpy(destination.data() + o, data.data(), n);
      o += n;
    }
    i += size;
  }
  return o;
}

}  // namespace salvor
