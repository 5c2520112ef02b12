#include <cstdint>
#include <vector>

#include "disk/progress_reporter.h"
#include "ntfs/boot_sector.h"
#include "partitions/partition_search.h"
#include "partitions/search_boot_sector.h"

namespace salvor {
namespace {

std::uint64_t RoundToCylinder(std::uint64_t sector) {
  std::uint64_t r = sector % kCylinderSectors;
  // Near the top of the number range rounding up would wrap to sector 0.
  bool fits = sector <= UINT64_MAX - kCylinderSectors;
  return r <= kCylinderSectors / 2 || !fits ? sector - r : sector + (kCylinderSectors - r);
}

}  // namespace

std::uint64_t RoundStartToCylinder(std::uint64_t start) {
  return start <= kCylinderSectors ? 0 : RoundToCylinder(start);
}

std::uint64_t RoundEndToCylinder(std::uint64_t end) {
  return end <= kCylinderSectors ? kCylinderSectors : RoundToCylinder(end);
}

bool QuickScanPartitions(EngineState& state, std::uint64_t start, std::uint64_t end,
                         const PartitionFound& found) {
  state.partitions.clear();
  SectorSource& source = state.source;
  start = RoundStartToCylinder(start);
  end = RoundEndToCylinder(end);
  const std::size_t bps = source.bytes_per_sector() ? source.bytes_per_sector() : 512;
  std::vector<std::uint8_t> buffer(4 * bps);
  std::uint64_t current = start;
  ProgressReporter progress(state.host(), ProgressPhase::kSearch, ProgressUnit::kSectors);
  try {
    for (bool stopped = false; current <= end && !stopped;) {
      for (std::uint64_t probe : {current, current + kTrackSectors}) {
        stopped = !state.run().Checkpoint();
        if (stopped) break;
        progress.Report(probe, end);
        std::fill(buffer.begin(), buffer.end(), 0);
        source.ReadSectors(buffer, probe);
        if (!IsNtfsBootSector(buffer)) continue;
        if (auto v = VolumeFromFoundBootSector(source, buffer, probe))
          ListBootSectorVolume(state.partitions, *v, 0, found);
      }
      if (stopped || end - current < kCylinderSectors) break;  // also keeps the step from wrapping
      current += kCylinderSectors;
    }
  } catch (const UserException&) {
    return false;
  }
  progress.Final(current, end);
  return state.run().IsRunning();
}

}  // namespace salvor
