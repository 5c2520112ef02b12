// IsCompressedStream and DecompressLznt1. Input: two bytes of output
// capacity (little-endian, in units of 16 bytes, at most 64 KiB), then the
// compressed stream. The destination is exactly the capacity, so any write
// past it is caught.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "ntfs/lznt1.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t capacity = (std::size_t{data[0]} | (std::size_t(data[1] & 0x0F) << 8)) * 16;
  std::span<const std::uint8_t> source(data + 2, size - 2);
  // A copy of exactly the source's length, so reads past it are caught too.
  std::vector<std::uint8_t> exact(source.begin(), source.end());
  salvor::IsCompressedStream(exact);
  std::vector<std::uint8_t> out(capacity);
  const std::size_t n = salvor::DecompressLznt1(exact, out);
  if (n > capacity) __builtin_trap();
  std::vector<std::uint8_t> unit(65536);
  salvor::DecompressLznt1(exact, unit);
  return 0;
}
