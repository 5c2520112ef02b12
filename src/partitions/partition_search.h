#pragma once
// The lost-partition search: the quick scan probes the first sectors of each
// cylinder of 16065 sectors for an NTFS boot sector; the thorough scan tests
// every sector of a range for boot sectors and for copies of the MFT's first
// two records, and rebuilds volumes whose boot sectors are lost.

#include <cstdint>

#include "ntfs/engine_state.h"
#include "partitions/found_volumes.h"

namespace salvor {

inline constexpr std::uint64_t kCylinderSectors = 16065;  // 255 heads x 63 sectors
inline constexpr std::uint64_t kTrackSectors = 63;

// Rounds to the nearest cylinder boundary (a remainder of up to 8032 rounds
// down); a start of at most one cylinder becomes 0, an end of at most one
// cylinder becomes 16065.
std::uint64_t RoundStartToCylinder(std::uint64_t start);
std::uint64_t RoundEndToCylinder(std::uint64_t end);

// Both empty state.partitions, fill it, tell `found` of each new volume and
// report progress through the host (64-bit counts, whole). They return true
// when the range was finished, false when the run was stopped; volumes found
// before a stop stay listed, and the thorough scan still pairs the record
// copies collected so far. A read failure other than a media error ends the
// scan as a stop does, after the source has shown it.
bool QuickScanPartitions(EngineState& state, std::uint64_t start, std::uint64_t end,
                         const PartitionFound& found);
bool ThoroughScanPartitions(EngineState& state, std::uint64_t start, std::uint64_t end,
                            const PartitionFound& found);

struct SearchRequest {
  std::uint64_t start_sector = 0;
  std::uint64_t end_sector = 0;
  bool thorough = false;
};

// Runs the chosen scan, then logs and shows how it ended as the search's
// progress dialog does ("Completed Searching partitions", "%s scan of drives
// completed." ...). Returns whether the range was finished.
bool RunPartitionSearch(EngineState& state, const SearchRequest& request,
                        const PartitionFound& found);

}  // namespace salvor
