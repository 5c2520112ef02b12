#pragma once
// The BMP file header and info header, checked field by field. Two bytes "BM"
// begin one sector in 32,768 of random data, and the size field behind them
// is then any 32-bit value: only a header that holds together may set a
// found file's length.

#include <cstdint>
#include <optional>
#include <span>

namespace salvor::carver {

// Enough for the file header and the largest info header (BITMAPV5HEADER).
inline constexpr std::size_t kBmpHeaderBytes = 14 + 124;

// The file's size field when the header holds: a known info header size,
// one plane, 1/4/8/16/24/32 bits per pixel, a compression that fits the
// depth, sides of 1 to 65,535 pixels, a pixel data offset behind the headers,
// and a size that holds the rows the header implies (the encoded rows'
// bounds for RLE) without more than a colour profile's room behind them.
// `bytes` is the start of the file (fewer bytes than needed: nullopt).
std::optional<std::uint32_t> CheckedBmpSize(std::span<const std::uint8_t> bytes);

}  // namespace salvor::carver
