#pragma once
// Imaging a failing disk. A plain copy retries every bad sector where it
// meets it, which on a dying disk spends hours in the first bad area and may
// kill the disk before the good areas are saved. This copy reads the good
// areas first: on a failed read it marks the step and jumps ahead by a
// distance that grows while reads keep failing; when the disk's end is
// reached it comes back for what it skipped, and last reads the failed steps
// sector by sector. Its map (ddrescue's mapfile) records every area, so a
// stopped or failed copy resumes where it was, and the bad sectors are known.

#include <cstdint>
#include <functional>

#include "disk/host.h"
#include "disk/run_control.h"
#include "disk/sector_source.h"
#include "partitions/copy_destination.h"
#include "partitions/disk_copy.h"
#include "partitions/rescue_map.h"

namespace salvor {

struct RescueJob {
  std::uint64_t sector_count = 0;
  std::uint32_t sectors_per_step = kCopySectorsPerStep;
  // The first jump after a failed step, in steps; it doubles with each
  // further failure up to the largest jump, and starts again after a good read.
  std::uint64_t first_skip_steps = 1;
  std::uint64_t largest_skip_steps = 4096;
};

// Called whenever the map changed enough to be worth keeping (after every
// failure, every few hundred steps and at the end). False: the map could not
// be written, and the copy ends as failed (a copy whose map is lost cannot be
// resumed, so it must not go on as if it could).
using SaveRescueMap = std::function<bool(const RescueMap& map)>;

// Copies every area of `map` not yet finished into `destination`. A map of
// the wrong size is replaced by a fresh one. Unreadable sectors are written as
// zeros and stay marked bad. Image sector 0 gets the stamps.
CopyResult RescueCopy(SectorSource& source, CopyDestination& destination, RescueMap& map,
                      const RescueJob& job, const SaveRescueMap& save_map, Host& host,
                      RunControl& run);

}  // namespace salvor
