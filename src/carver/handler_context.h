#pragma once
// What every end handler works with: the scan's sector reader, the running
// flag, and the two continuation lists of sectors inside files already found.

#include <cstdint>
#include <unordered_set>

#include "carver/carve_disk.h"
#include "disk/run_control.h"

namespace salvor::carver {

struct ContinuationLists {
  std::unordered_set<std::uint64_t> mp3;
  std::unordered_set<std::uint64_t> mpeg;
  void Clear() {
    mp3.clear();
    mpeg.clear();
  }
};

struct HandlerContext {
  SectorReader& reader;
  RunControl& run;
  ContinuationLists& lists;

  std::uint64_t total_sectors() const { return reader.total_sectors(); }
  std::uint32_t sector_size() const { return reader.sector_size(); }
  // Bytes from the start of sector `start` to the end of the disk.
  std::uint64_t BytesToDiskEnd(std::uint64_t start) const {
    return start < total_sectors() ? (total_sectors() - start) * sector_size() : 0;
  }
  // The check point of every handler loop: waits out a pause, then says
  // whether the process may go on.
  bool KeepGoing() { return run.Checkpoint(); }
};

enum class HandlerResult { kRejected, kAccepted };

// Found and skip lengths live in 32-bit fields; longer measures saturate.
inline constexpr std::uint64_t kMaxMeasure = 0xFFFFFFFFu;
inline std::uint32_t ClampLength(std::uint64_t v) {
  return v > kMaxMeasure ? static_cast<std::uint32_t>(kMaxMeasure) : static_cast<std::uint32_t>(v);
}

}  // namespace salvor::carver
