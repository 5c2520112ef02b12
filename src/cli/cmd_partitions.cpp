#include <cstdio>

#include "app/scan_info_files.h"
#include "cli/commands.h"
#include "cli/scan_info_options.h"
#include "cli/volume_search.h"
#include "cli/volume_text.h"

namespace salvor::cli {

void AddPartitionsCommand(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand("partitions", "List the NTFS volumes of a disk or image");
  auto source = std::make_shared<std::string>();
  auto* source_option = cmd->add_option("SOURCE", *source, "Block device or image file");
  auto scan_info = std::make_shared<ScanInfoOptions>();
  AddPartitionInfoOptions(cmd, *scan_info, source_option);
  auto search = std::make_shared<VolumeSearch>();
  AddVolumeSearchOptions(cmd, *search);
  cmd->callback([&ctx, source, search, scan_info] {
    if (!HasSourceOrLoad(ctx, *source, *scan_info)) return;
    const bool loaded = !scan_info->load.empty();
    if (loaded ? !LoadPartitionInfo(scan_info->load, ctx.state, ctx.host)
               : !OpenSourceArgument(ctx, *source)) {
      ctx.exit_status = kExitFailure;
      return;
    }
    if (loaded) {
      // The saved list is shown as it was found.
    } else if (!search->method.empty()) {
      // A stopped search still lists what it found.
      if (!ListVolumes(ctx, *search)) ctx.exit_status = kExitFailure;
    } else if (!ListVolumes(ctx, *search)) {
      ctx.exit_status = kExitFailure;
      return;
    } else if (ctx.state.partitions.empty()) {
      std::fprintf(stderr, "salvor-cli: no NTFS volume in the partition table of %s\n",
                   source->c_str());
    }
    unsigned drive = 1;
    for (const VolumeInfo& v : ctx.state.partitions) {
      std::uint16_t bps = ctx.state.source.bytes_per_sector();
      std::string line = ctx.options.json ? VolumeJson(drive, v, bps) : VolumeText(drive, v, bps);
      std::printf("%s\n", line.c_str());
      ++drive;
    }
    if (ctx.state.partitions.empty()) ctx.exit_status = kExitFailure;
    // Like the Save Partition Info command: only a list with volumes is saved.
    if (!scan_info->save.empty() && !ctx.state.partitions.empty() &&
        !SavePartitionInfo(scan_info->save, ctx.state, ctx.host))
      ctx.exit_status = kExitFailure;
  });
}

}  // namespace salvor::cli
