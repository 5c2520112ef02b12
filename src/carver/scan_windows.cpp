#include "carver/scan_windows.h"

#include <algorithm>

namespace salvor::carver {
namespace {

constexpr std::uint64_t kReadBytes = 1u << 20;

}  // namespace

ScanWindows::ScanWindows(SectorReader& reader, std::uint64_t window_sectors)
    : reader_(reader),
      window_sectors_(window_sectors),
      buffer_sectors_(std::max<std::uint64_t>(window_sectors, kReadBytes / reader.sector_size())),
      buffer_(buffer_sectors_ * reader.sector_size()) {}

std::span<const std::uint8_t> ScanWindows::Held(std::uint64_t first_sector) const {
  return std::span<const std::uint8_t>(buffer_).subspan(
      (first_sector - held_first_) * reader_.sector_size(),
      window_sectors_ * reader_.sector_size());
}

std::span<const std::uint8_t> ScanWindows::Window(std::uint64_t first_sector) {
  if (first_sector >= held_first_ &&
      first_sector + window_sectors_ <= held_first_ + held_sectors_) {
    return Held(first_sector);
  }
  held_sectors_ = 0;
  if (first_sector >= one_by_one_until_) {
    if (reader_.TryRead(buffer_, first_sector) == 0) {
      held_first_ = first_sector;
      held_sectors_ = buffer_sectors_;
      return Held(first_sector);
    }
    one_by_one_until_ = first_sector + buffer_sectors_;
  }
  const std::span<std::uint8_t> window(buffer_.data(), window_sectors_ * reader_.sector_size());
  reader_.Read(window, first_sector);
  return window;
}

}  // namespace salvor::carver
