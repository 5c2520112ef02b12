#pragma once
// Where the list of a source's volumes comes from: its partition tables (or
// the bare volume an image holds), or a quick or thorough search for lost
// volumes over a sector range.

#include <cstdint>
#include <optional>

#include "app/operation_status.h"
#include "ntfs/engine_state.h"

namespace salvor {

enum class VolumeSearchMethod { kTables, kQuick, kThorough };

struct VolumeListRequest {
  VolumeSearchMethod method = VolumeSearchMethod::kTables;
  std::uint64_t from = 0;
  std::optional<std::uint64_t> to;  // the source's sector count by default
  // The user fixed the sector size: a bare volume's boot sector cannot change it.
  bool sector_size_forced = false;
};

// With the source open: fills state.partitions. A range the source does not
// hold fails with its text; a stopped search keeps the volumes it found.
// The search logs and reports how it ended itself.
OperationStatus ListVolumes(EngineState& state, const VolumeListRequest& request);

}  // namespace salvor
