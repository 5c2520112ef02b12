#pragma once
// Where a subcommand takes its list of volumes from: the partition tables
// (the default), or a search for lost volumes (--search quick|thorough) over
// a sector range (--from, --to; the whole source by default). Shared by every
// subcommand that works on volumes.

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <string>

#include "cli/cli_context.h"

namespace salvor::cli {

struct VolumeSearch {
  std::string method;  // "", "quick" or "thorough"
  std::uint64_t from = 0;
  std::optional<std::uint64_t> to;
};

// Adds --search, --from and --to to `cmd`.
void AddVolumeSearchOptions(CLI::App* cmd, VolumeSearch& search);

// With the source open: lists its volumes as the options ask, with the
// search's progress line. False after printing why it failed (a stopped
// search has listed what it found).
bool ListVolumes(CliContext& ctx, const VolumeSearch& search);

}  // namespace salvor::cli
