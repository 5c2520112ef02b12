#pragma once
// The volume that a boot sector met by the lost-partition search describes.

#include <cstdint>
#include <optional>
#include <span>

#include "disk/sector_source.h"
#include "ntfs/volume_info.h"

namespace salvor {

// For a sector that passed IsNtfsBootSector at `position`: the volume with
// the search's geometry and flag 0x01, or nullopt when the boot sector
// describes more than the source holds (its total sectors, its end or its
// $MFT beyond the source's last sector).
//
// A backup boot sector is the last sector of its volume. When the $MFT's own
// record is not at the boot sector's $MFT position but is at that position
// counted from (position - total sectors), the volume starts there, and is
// listed there rather than at its backup.
std::optional<VolumeInfo> VolumeFromFoundBootSector(SectorSource& source,
                                                    std::span<const std::uint8_t> sector,
                                                    std::uint64_t position);

}  // namespace salvor
