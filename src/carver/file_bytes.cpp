#include "carver/file_bytes.h"

#include <algorithm>
#include <cstring>

namespace salvor::carver {
namespace {
constexpr std::uint64_t kFarOffset = std::uint64_t{1} << 48;
}  // namespace

FileBytes::FileBytes(SectorReader& reader, std::uint64_t start_sector,
                     std::uint32_t window_sectors)
    : reader_(&reader),
      start_(start_sector),
      sector_size_(reader.sector_size()),
      window_sectors_(std::max<std::uint32_t>(window_sectors, 1)) {}

std::span<const std::uint8_t> FileBytes::Bytes(std::uint64_t offset, std::size_t length) {
  if (length == 0) length = 1;
  const std::uint64_t first = offset / sector_size_;
  const std::uint64_t last = (offset + length - 1) / sector_size_;
  // Far beyond any disk (2^48 bytes is 256 TiB): nothing there, and no
  // sector arithmetic that could wrap.
  if (offset >= kFarOffset) {
    zeros_.assign(length, 0);
    return zeros_;
  }
  if (buffer_sectors_ == 0 || first < buffer_first_ || last >= buffer_first_ + buffer_sectors_) {
    const std::uint64_t count = std::max<std::uint64_t>(window_sectors_, last - first + 1);
    buffer_.assign(count * sector_size_, 0);
    reader_->Read(buffer_, start_ + first);
    buffer_first_ = first;
    buffer_sectors_ = count;
  }
  const std::uint64_t at = offset - buffer_first_ * sector_size_;
  return std::span<const std::uint8_t>(buffer_.data() + at, length);
}

std::uint16_t FileBytes::BE16(std::uint64_t offset) {
  auto b = Bytes(offset, 2);
  return static_cast<std::uint16_t>((b[0] << 8) | b[1]);
}
std::uint32_t FileBytes::BE32(std::uint64_t offset) {
  auto b = Bytes(offset, 4);
  return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) |
         b[3];
}
std::uint16_t FileBytes::LE16(std::uint64_t offset) { return LoadU16(Bytes(offset, 2).data()); }
std::uint32_t FileBytes::LE32(std::uint64_t offset) { return LoadU32(Bytes(offset, 4).data()); }

bool FileBytes::Equals(std::uint64_t offset, std::string_view text) {
  auto b = Bytes(offset, text.size());
  return std::memcmp(b.data(), text.data(), text.size()) == 0;
}

}  // namespace salvor::carver
