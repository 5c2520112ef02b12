#include "carver/bmp_header.h"

#include <cstdlib>

#include "disk/byte_reader.h"

namespace salvor::carver {
namespace {

constexpr std::uint32_t kCoreHeader = 12;   // OS/2 1.x: 16-bit sides, no compression
constexpr std::uint32_t kMaxSide = 65535;
constexpr std::uint32_t kMaxPixelOffset = 1u << 20;
// Room behind the rows for an embedded colour profile and writers' padding.
constexpr std::uint64_t kTrailingRoom = 1u << 20;

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

bool KnownInfoHeader(std::uint32_t size) {
  switch (size) {
    case kCoreHeader: case 40: case 52: case 56: case 64: case 108: case 124: return true;
    default: return false;
  }
}

bool DepthFits(std::uint32_t compression, std::uint32_t bpp) {
  switch (compression) {
    case kRgb: return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    case kRle8: return bpp == 8;
    case kRle4: return bpp == 4;
    case kBitFields: case kAlphaBitFields: return bpp == 16 || bpp == 32;
    default: return false;
  }
}

}  // namespace

std::optional<std::uint32_t> CheckedBmpSize(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kBmpHeaderBytes) return std::nullopt;
  // Every field read below lies inside the bytes checked above.
  const std::uint8_t* b = bytes.data();
  if (b[0] != 'B' || b[1] != 'M') return std::nullopt;
  const std::uint32_t size = LoadU32(b + 2);
  const std::uint32_t pixel_offset = LoadU32(b + 10);
  const std::uint32_t info_size = LoadU32(b + 14);
  if (!KnownInfoHeader(info_size)) return std::nullopt;

  std::uint64_t width, height;
  std::uint32_t planes, bpp, compression = kRgb;
  if (info_size == kCoreHeader) {
    width = LoadU16(b + 18);
    height = LoadU16(b + 20);
    planes = LoadU16(b + 22);
    bpp = LoadU16(b + 24);
  } else {
    const auto signed_height = static_cast<std::int32_t>(LoadU32(b + 22));
    width = LoadU32(b + 18);
    height = static_cast<std::uint64_t>(std::llabs(std::int64_t{signed_height}));
    planes = LoadU16(b + 26);
    bpp = LoadU16(b + 28);
    compression = LoadU32(b + 30);
    // Top-down rows (negative height) cannot be run-length encoded.
    if (signed_height < 0 && (compression == kRle8 || compression == kRle4)) return std::nullopt;
  }
  if (planes != 1 || !DepthFits(compression, bpp)) return std::nullopt;
  if (width == 0 || width > kMaxSide || height == 0 || height > kMaxSide) return std::nullopt;
  if (pixel_offset < 14 + info_size || pixel_offset > kMaxPixelOffset) return std::nullopt;

  const std::uint64_t row_bytes = (width * bpp + 31) / 32 * 4;
  const std::uint64_t rows = row_bytes * height;
  std::uint64_t least = pixel_offset + rows;
  std::uint64_t most = least + kTrailingRoom;
  if (compression == kRle8 || compression == kRle4) {
    // Every row ends with a two-byte code; a pixel costs at most two bytes.
    least = pixel_offset + 2 * height;
    most = pixel_offset + 2 * width * height + 2 * height + 2 + kTrailingRoom;
  }
  if (size < least || size > most) return std::nullopt;
  return size;
}

}  // namespace salvor::carver
