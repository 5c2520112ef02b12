#include "ntfs/mft_locator.h"

#include <algorithm>
#include <limits>

#include "ntfs/file_record.h"

namespace salvor {

std::optional<std::uint64_t> MftRecordSector(const RunList& mft_runs, const CurrentVolume& volume,
                                             std::uint32_t record) {
  const std::uint64_t spc = volume.sectors_per_cluster;
  const std::uint64_t spr = volume.sectors_per_file_record;
  if (spc == 0 || spr == 0) return std::nullopt;
  std::uint64_t before = 0;  // records in the runs already passed
  for (const Run& run : mft_runs) {
    // A damaged list may claim more clusters than 64 bits of sectors hold;
    // such a run holds every record number there is.
    const std::uint64_t records = run.length > std::numeric_limits<std::uint64_t>::max() / spc
                                      ? std::numeric_limits<std::uint64_t>::max()
                                      : run.length * spc / spr;
    if (record - before < records) {
      if (run.sparse()) return std::nullopt;
      return ClusterSector(volume, run.lcn) + (record - before) * spr;
    }
    before += records;
  }
  return std::nullopt;
}

bool ReadMftRecord(EngineState& state, std::uint32_t record, std::span<std::uint8_t> buffer) {
  auto sector = MftRecordSector(state.mft_runs, state.volume, record);
  if (!sector || buffer.empty()) return false;
  std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
  state.source.ReadSectors(buffer, *sector);
  return CheckFileRecord(buffer);
}

}  // namespace salvor
