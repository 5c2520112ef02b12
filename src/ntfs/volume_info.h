#pragma once
// VolumeInfo (one found NTFS volume) and CurrentVolume (the chosen one), with
// their stored forms of 76 and 74 bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace salvor {

struct VolumeInfo {
  std::uint64_t search_position = 0;
  std::uint64_t first_sector = 0;
  std::uint64_t length = 0;  // sectors
  std::uint64_t mft_sector = 0;
  std::uint64_t mft_lcn = 0;
  std::uint64_t mftmirr_lcn = 0;
  std::uint64_t serial = 0;
  std::uint32_t bytes_per_index_record = 0;  // 0 = from sectors per index record
  std::uint32_t bytes_per_cluster = 0;       // 0 = from sectors per cluster
  std::uint16_t bytes_per_file_record = 0;   // 0 = from sectors per file record
  std::uint16_t bytes_per_sector = 0;        // 0 = the source's
  // A count, up to 2 MiB of sectors; stored as the boot sector's byte.
  std::uint32_t sectors_per_cluster = 0;
  std::uint8_t sectors_per_file_record = 0;
  std::uint8_t sectors_per_index_record = 0;
  std::uint8_t origin_flags = 0;

  bool operator==(const VolumeInfo&) const = default;
};

struct CurrentVolume {
  std::uint64_t length = 0;
  std::uint64_t mft_sector = 0;
  std::uint64_t mft_lcn = 0;
  std::uint64_t mftmirr_lcn = 0;
  std::uint64_t serial = 0;
  std::uint64_t first_sector = 0;
  std::uint32_t mft_record_count = 0;
  std::uint32_t bytes_per_file_record = 0;
  std::uint32_t bytes_per_index_record = 0;
  std::uint32_t bytes_per_cluster = 0;
  std::uint16_t bytes_per_sector = 0;
  std::uint8_t sectors_per_file_record = 0;
  std::uint8_t sectors_per_index_record = 0;
  std::uint32_t sectors_per_cluster = 0;  // stored as the boot sector's byte
  std::uint8_t turbo_scan_mark = 0;

  bool operator==(const CurrentVolume&) const = default;
};

// The largest cluster NTFS knows (since Windows 10).
inline constexpr std::uint32_t kLargestClusterBytes = 2u << 20;

// The boot sector's sectors-per-cluster byte: up to 0x80 the count itself,
// above it a negative power of two (0xF4 = 2^12 sectors). 0 for an exponent
// no cluster can have.
std::uint32_t SectorsPerClusterFromByte(std::uint8_t byte);
// The byte for a count, as the boot sector writes it; 0 for a count that has
// none (above 0x80 and not a power of two).
std::uint8_t SectorsPerClusterByte(std::uint32_t sectors);

inline constexpr std::size_t kVolumeInfoStoredSize = 76;
inline constexpr std::size_t kCurrentVolumeStoredSize = 74;

std::vector<std::uint8_t> StoreVolumeInfo(const VolumeInfo& v);
std::optional<VolumeInfo> LoadVolumeInfo(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> StoreCurrentVolume(const CurrentVolume& v);
std::optional<CurrentVolume> LoadCurrentVolume(std::span<const std::uint8_t> bytes);

// Copies a volume into the current geometry, filling the defaults.
CurrentVolume SelectVolume(const VolumeInfo& v, std::uint16_t source_bytes_per_sector);

// The first listed volume that is the same as v (serial, MFT and MFTMirr LCN,
// cluster and file record size), or null.
const VolumeInfo* FindSameVolume(std::span<const VolumeInfo> list, const VolumeInfo& v);
// The first listed volume with the same MFT and MFTMirr LCN, cluster and file
// record size that starts at v's first sector or at most its sectors per
// cluster before it.
const VolumeInfo* FindSameVolumeNear(std::span<const VolumeInfo> list, const VolumeInfo& v);

}  // namespace salvor
