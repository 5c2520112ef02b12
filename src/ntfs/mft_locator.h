#pragma once
// Turning MFT record numbers and clusters into sectors of the source, and
// reading one MFT record through the $MFT run list.

#include <cstdint>
#include <optional>
#include <span>

#include "ntfs/engine_state.h"
#include "ntfs/run.h"
#include "ntfs/volume_info.h"

namespace salvor {

// First sector of the volume + lcn * sectors per cluster.
inline std::uint64_t ClusterSector(const CurrentVolume& volume, std::uint64_t lcn) {
  return volume.first_sector + lcn * volume.sectors_per_cluster;
}

// The sector of MFT record `record`: each run of the $MFT holds
// (length * sectors per cluster / sectors per file record) records. nullopt
// when the runs end before the record, or it falls in a sparse run.
std::optional<std::uint64_t> MftRecordSector(const RunList& mft_runs, const CurrentVolume& volume,
                                             std::uint32_t record);

// Reads MFT record `record` of the current volume into `buffer` (cleared
// first; its size is taken as the record size) and checks it with
// CheckFileRecord. False when the record is not on the volume or fails the
// check. Read errors follow the sector source: media errors leave zeros,
// anything else raises UserException.
bool ReadMftRecord(EngineState& state, std::uint32_t record, std::span<std::uint8_t> buffer);

}  // namespace salvor
