#pragma once
// Choosing the volume a subcommand works on: drive N of the partition list
// (--volume, 1 by default) or the volume whose boot sector lies at a given
// sector (--volume-start), selected as the current volume with its $MFT
// located.

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <string>

#include "cli/cli_context.h"

namespace salvor::cli {

struct VolumeChoice {
  unsigned drive = 1;
  std::optional<std::uint64_t> start_sector;
};

// Adds --volume N and --volume-start SECTOR (one or the other) to `cmd`.
void AddVolumeOptions(CLI::App* cmd, VolumeChoice& choice);

// With the source open: lists its volumes, takes the chosen one as the
// current volume and locates its $MFT (a volume whose $MFT is not found is
// still chosen when `require_mft` is false: the Turbo Scan needs none). Returns the drive number of the
// volume in the partition list (0 when --volume-start names a volume the
// list does not hold), or nullopt after printing why it failed.
std::optional<unsigned> ChooseVolume(CliContext& ctx, const VolumeChoice& choice,
                                     const std::string& source_name, bool require_mft = true);

// The same with ctx.state.partitions already filled (by a search for lost
// volumes, say): nothing is listed anew.
std::optional<unsigned> ChooseListedVolume(CliContext& ctx, const VolumeChoice& choice,
                                           const std::string& source_name,
                                           bool require_mft = true);

}  // namespace salvor::cli
