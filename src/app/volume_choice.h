#pragma once
// Choosing the volume to work on from the listed ones: drive N of the list,
// or the volume whose boot sector lies at a given sector (listed or not). The
// chosen volume becomes the current volume with its $MFT located.

#include <cstdint>
#include <optional>
#include <string>

#include "app/operation_status.h"
#include "ntfs/engine_state.h"

namespace salvor {

struct VolumeChoice {
  unsigned drive = 1;
  std::optional<std::uint64_t> start_sector;  // when set, chosen by its boot sector
};

struct ChosenVolume {
  OperationStatus status;
  // The volume's drive number in state.partitions; 0 for a volume found at
  // its start sector that the list does not hold.
  unsigned drive = 0;
};

// With state.partitions listed. A volume whose $MFT is not found is still
// chosen when `require_mft` is false (the Turbo Scan needs none).
// `source_name` names the source in the failure texts.
ChosenVolume ChooseVolume(EngineState& state, const VolumeChoice& choice,
                          const std::string& source_name, bool require_mft);

}  // namespace salvor
