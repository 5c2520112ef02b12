#include "zlib_reference.h"

#include <zlib.h>

namespace salvor::testing {

std::optional<std::vector<std::uint8_t>> ZlibInflateRaw(std::span<const std::uint8_t> packed) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) return std::nullopt;
  std::vector<std::uint8_t> out;
  std::vector<std::uint8_t> piece(1 << 16);
  z.next_in = const_cast<Bytef*>(packed.data());
  z.avail_in = static_cast<uInt>(packed.size());
  int rc = Z_OK;
  while (rc == Z_OK) {
    z.next_out = piece.data();
    z.avail_out = static_cast<uInt>(piece.size());
    rc = inflate(&z, Z_NO_FLUSH);
    out.insert(out.end(), piece.data(), piece.data() + (piece.size() - z.avail_out));
    if (rc == Z_BUF_ERROR && z.avail_in == 0) break;  // truncated stream
  }
  const bool complete = rc == Z_STREAM_END && z.avail_in == 0;
  inflateEnd(&z);
  if (!complete) return std::nullopt;
  return out;
}

std::vector<std::uint8_t> ZlibDeflateRaw(std::span<const std::uint8_t> data, int level) {
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::vector<std::uint8_t> out(deflateBound(&z, static_cast<uLong>(data.size())));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

}  // namespace salvor::testing
