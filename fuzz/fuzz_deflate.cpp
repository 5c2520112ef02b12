// Deflate encoder round trip: any input, at the level and in the piece sizes
// the first bytes choose, must inflate (zlib, linked into this target only)
// back to exactly the input.

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "carver/deflate.h"

namespace {

std::vector<std::uint8_t> Inflate(const std::vector<std::uint8_t>& packed, std::size_t expected) {
  std::vector<std::uint8_t> out(expected + 1);
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) std::abort();
  z.next_in = const_cast<Bytef*>(packed.data());
  z.avail_in = static_cast<uInt>(packed.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = inflate(&z, Z_FINISH);
  if (rc != Z_STREAM_END || z.avail_in != 0) std::abort();  // broken or trailing bytes
  out.resize(z.total_out);
  inflateEnd(&z);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int level = 1 + data[0] % 9;
  const std::size_t piece = 1 + std::size_t{data[1]} * 97;  // 1 byte up to ~24 KiB
  // Repeat the input a few times so the window, slides and long matches get used.
  const int copies = 1 + (data[0] >> 4) % 4;
  std::vector<std::uint8_t> input;
  for (int i = 0; i < copies; ++i) input.insert(input.end(), data + 2, data + size);

  salvor::carver::DeflateStream stream;
  if (!salvor::carver::DeflateStart(stream, level).ok) std::abort();
  std::vector<std::uint8_t> packed;
  for (std::size_t at = 0; at < input.size(); at += piece) {
    const std::size_t n = std::min(piece, input.size() - at);
    if (!salvor::carver::DeflateWrite(stream, {input.data() + at, n}, false, packed).ok) std::abort();
  }
  if (!salvor::carver::DeflateWrite(stream, {}, true, packed).ok) std::abort();
  if (packed.size() > salvor::carver::DeflateBound(input.size())) std::abort();
  if (Inflate(packed, input.size()) != input) std::abort();
  return 0;
}
