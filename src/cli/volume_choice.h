#pragma once
// Choosing the volume a subcommand works on: drive N of the partition list
// (--volume, 1 by default) or the volume whose boot sector lies at a given
// sector (--volume-start).

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "app/volume_choice.h"
#include "cli/cli_context.h"

namespace salvor::cli {

// Adds --volume N and --volume-start SECTOR (one or the other) to `cmd`.
void AddVolumeOptions(CLI::App* cmd, VolumeChoice& choice);

// With ctx.state.partitions listed: chooses the volume and locates its $MFT
// (see salvor::ChooseVolume). The drive number, or nullopt after printing
// why it failed.
std::optional<unsigned> ChooseListedVolume(CliContext& ctx, const VolumeChoice& choice,
                                           const std::string& source_name, bool require_mft);

}  // namespace salvor::cli
