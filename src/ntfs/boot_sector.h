#pragma once
// The NTFS boot sector test and the geometry derived from a boot sector.

#include <cstdint>
#include <span>

#include "ntfs/volume_info.h"

namespace salvor {

// Field offsets in an NTFS boot sector.
namespace boot {
inline constexpr std::size_t kBytesPerSector = 0x0B;      // u16
inline constexpr std::size_t kSectorsPerCluster = 0x0D;   // u8
inline constexpr std::size_t kLargeSectorCount = 0x20;    // u32, 0 on NTFS
inline constexpr std::size_t kDriveNumber = 0x24;         // u16, 0x0080
inline constexpr std::size_t kTotalSectors = 0x28;        // u64
inline constexpr std::size_t kMftLcn = 0x30;              // u64
inline constexpr std::size_t kMftMirrLcn = 0x38;          // u64
inline constexpr std::size_t kClustersPerFileRecord = 0x40;   // s8
inline constexpr std::size_t kClustersPerIndexRecord = 0x44;  // s8
inline constexpr std::size_t kSerial = 0x48;              // u64
}  // namespace boot

// 1 when the first 512 bytes pass every test of an NTFS boot sector.
bool IsNtfsBootSector(std::span<const std::uint8_t> sector);

// How the finder of a volume keeps the geometry: the partition table reader
// keeps both sizes of index records, the lost-partition search only sectors.
enum class GeometryOrigin { kPartitionTable, kSearch };

// Derives a VolumeInfo from a boot sector that passed IsNtfsBootSector.
VolumeInfo VolumeFromBootSector(std::span<const std::uint8_t> sector, std::uint64_t first_sector,
                                std::uint64_t length, std::uint16_t source_bytes_per_sector,
                                GeometryOrigin origin);

}  // namespace salvor
