#pragma once
// Opening what a run reads: a block device or an image file, always
// read-only, as the state's sector source, and the NTFS volume whose boot
// sector lies at a given sector of it.

#include <cstdint>
#include <optional>
#include <string>

#include "app/operation_status.h"
#include "ntfs/engine_state.h"

namespace salvor {

// Forgets the source before, then opens `path`. A block device brings its
// logical sector size (512 when it names none) and its size; an image its
// sector-size stamp. A nonzero `forced_sector_size` overrides either.
OperationStatus OpenSource(EngineState& state, const std::string& path,
                           std::uint16_t forced_sector_size);

struct VolumeAtSector {
  OperationStatus status;
  std::optional<VolumeInfo> volume;  // nullopt: no NTFS boot sector there
};

// The volume whose boot sector lies at `sector`, described as the partition
// table reader would describe it. A failed read is shown by the source.
VolumeAtSector ReadVolumeAt(EngineState& state, std::uint64_t sector);

}  // namespace salvor
