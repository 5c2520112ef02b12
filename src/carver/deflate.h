#pragma once
// Deflate encoder (RFC 1951): LZ77 over a 32 KiB window with hash chains and
// lazy matching, each block sent as stored, fixed or dynamic Huffman,
// whichever is shortest. Levels 1-9 trade speed for size; the ZIP writer
// uses level 8.

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace salvor::carver {

namespace deflate {
struct State;
}

struct DeflateResult {
  bool ok = true;
  std::string_view error;  // a text of the string table when !ok
};

// One raw Deflate stream being written. Start it, write the input in pieces
// of any size, the last one with `last` set; then the stream is complete.
struct DeflateStream {
  DeflateStream();
  ~DeflateStream();
  DeflateStream(DeflateStream&&) noexcept;
  DeflateStream& operator=(DeflateStream&&) noexcept;

  std::unique_ptr<deflate::State> state;
};

inline constexpr int kDeflateZipLevel = 8;

// (Re)starts `stream` at `level`; fails with "bad pack level" outside 1-9.
DeflateResult DeflateStart(DeflateStream& stream, int level);

// Compresses `input` and appends the compressed bytes that are complete to
// `out`. After `last` the stream is finished (the final block is written and
// the output padded to a byte); start it again before writing more.
DeflateResult DeflateWrite(DeflateStream& stream, std::span<const std::uint8_t> input, bool last,
                           std::vector<std::uint8_t>& out);

// Whole input in one go, appended to `out`.
DeflateResult DeflateBuffer(std::span<const std::uint8_t> input, int level,
                            std::vector<std::uint8_t>& out);

// Whole input into a fixed buffer; `written` receives the compressed size.
// Fails with "output buffer too small for in-memory compression" when it does not fit.
DeflateResult DeflateToBuffer(std::span<const std::uint8_t> input, int level,
                              std::span<std::uint8_t> out, std::size_t& written);

// An upper bound of the compressed size of `size` input bytes, whatever the data.
std::uint64_t DeflateBound(std::uint64_t size);

}  // namespace salvor::carver
