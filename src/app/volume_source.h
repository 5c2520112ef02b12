#pragma once
// Opening a source for the desktop program and choosing one of its volumes:
// the steps that lead from a path to a volume ready to be processed.

#include <optional>
#include <string>

#include "ntfs/engine_state.h"

namespace salvor {

// Opens `path` (an image file or a block device) read-only as the current
// source and lists its NTFS volumes. False with the reason in `error`.
bool OpenSourcePath(EngineState& state, const std::string& path, std::string& error);

struct ChosenVolume {
  std::string name;        // "NTFS logical drive N"
  bool mft_found = false;  // else only the Turbo Scan can rebuild the tree
};

// Makes volume `drive` (1-based) of the listed volumes the current one and
// looks for its $MFT. nullopt with the reason when there is no such volume.
std::optional<ChosenVolume> ChooseDrive(EngineState& state, unsigned drive, std::string& error);

}  // namespace salvor
