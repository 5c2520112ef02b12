#include "cli/volume_choice.h"

namespace salvor::cli {

void AddVolumeOptions(CLI::App* cmd, VolumeChoice& choice) {
  auto* drive =
      cmd->add_option("--volume", choice.drive, "Volume N of the partition list (default 1)")
          ->check(CLI::PositiveNumber);
  auto* start = cmd->add_option_function<std::uint64_t>(
      "--volume-start", [&choice](const std::uint64_t& s) { choice.start_sector = s; },
      "The volume whose boot sector lies at SECTOR");
  drive->excludes(start);
}

std::optional<unsigned> ChooseListedVolume(CliContext& ctx, const VolumeChoice& choice,
                                           const std::string& source_name, bool require_mft) {
  const ChosenVolume chosen = ChooseVolume(ctx.state, choice, source_name, require_mft);
  PrintFailure(chosen.status);
  if (!chosen.status.completed()) return std::nullopt;
  return chosen.drive;
}

}  // namespace salvor::cli
