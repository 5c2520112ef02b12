#pragma once
// Adding what the lost-partition search finds to the partition list without
// listing one volume twice.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "ntfs/volume_info.h"

namespace salvor {

// Origin flags of a volume the search found.
inline constexpr std::uint8_t kFoundFromBootSector = 0x01;
inline constexpr std::uint8_t kFoundFromMftAndMirror = 0x02;
inline constexpr std::uint8_t kFoundFromRecordPair = 0x04;
inline constexpr std::uint8_t kBootSectorFoundTwice = 0x08;

// Told of each volume as it is appended (drive counts from 1).
using PartitionFound = std::function<void(std::size_t drive, const VolumeInfo& v)>;

// A volume from a boot sector: appended unless FindSameVolume knows it, in
// which case the listed one gets `again_flag` (0 adds nothing).
void ListBootSectorVolume(std::vector<VolumeInfo>& list, const VolumeInfo& v,
                          std::uint8_t again_flag, const PartitionFound& found);

// A volume rebuilt from MFT records: appended unless FindSameVolumeNear knows
// it, in which case the listed one gets v's origin flags.
void ListRebuiltVolume(std::vector<VolumeInfo>& list, const VolumeInfo& v,
                       const PartitionFound& found);

}  // namespace salvor
