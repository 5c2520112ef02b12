#pragma once
// The volumes of a source as a user expects them listed: the NTFS partitions
// of its partition tables or, for an image of a single volume, that volume.

#include "ntfs/engine_state.h"

namespace salvor {

enum class VolumeListing { kNone, kPartitionTable, kSingleVolume };

// Fills state.partitions. When no table lists an NTFS partition but sector 0
// is an NTFS boot sector, the source is one bare volume: it is listed as
// drive 1 at sector 0, and when the source's sector size was not stamped or
// forced it is taken from that boot sector.
VolumeListing ListSourceVolumes(EngineState& state, bool sector_size_fixed);

}  // namespace salvor
