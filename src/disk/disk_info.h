#pragma once
// DiskInfo: the description of a sector source as the disk scan information
// file stores it (542 bytes, little-endian, field by field).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "disk/text_format.h"

namespace salvor {

struct DiskInfo {
  std::u16string device_path;  // at most 256 code units
  std::uint32_t handle = 0;    // nonzero while open; its value means nothing once stored
  std::uint16_t bytes_per_sector = 0;
  std::uint64_t total_sectors = 0;
};

inline constexpr std::size_t kDiskInfoStoredSize = 542;
inline constexpr std::size_t kDevicePathUnits = 256;

// The stored form; the two list pointers and the unused field are zero.
std::vector<std::uint8_t> StoreDiskInfo(const DiskInfo& info);
// Reads the stored form; nullopt when fewer than 542 bytes are given.
std::optional<DiskInfo> LoadDiskInfo(std::span<const std::uint8_t> bytes);


}  // namespace salvor
