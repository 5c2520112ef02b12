#pragma once
// The process-wide engine state of Salvor: the current sector source, the
// partitions found on it, the chosen volume and its $MFT run list.

#include <vector>

#include "disk/sector_source.h"
#include "ntfs/run.h"
#include "ntfs/volume_info.h"

namespace salvor {

struct EngineState {
  EngineState(Host& host, RunControl& run) : source(host, run) {}

  SectorSource source;
  std::vector<VolumeInfo> partitions;
  CurrentVolume volume;
  RunList mft_runs;

  Host& host() const { return source.host(); }
  RunControl& run() const { return source.run(); }
};

// Closes the source and forgets everything that belonged to it.
void ResetSource(EngineState& state);

}  // namespace salvor
