#include <cstdio>

#include "app/open_source.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/volume_text.h"

namespace salvor::cli {

void AddInfoCommand(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand("info", "Show a source's sector size, size and boot sector");
  auto source = std::make_shared<std::string>();
  cmd->add_option("SOURCE", *source, "Block device or image file")->required();
  cmd->callback([&ctx, source] {
    if (!OpenSourceArgument(ctx, *source)) {
      ctx.exit_status = kExitFailure;
      return;
    }
    const SectorSource& src = ctx.state.source;
    const VolumeAtSector sector0 = ReadVolumeAt(ctx.state, 0);
    if (sector0.status.failed()) {
      ctx.exit_status = kExitFailure;
      return;
    }
    const bool ntfs = sector0.volume.has_value();
    if (ctx.options.json) {
      JsonLine line;
      line.Field("source", *source)
          .Field("bytes_per_sector", std::uint64_t{src.bytes_per_sector()})
          .Field("total_sectors", src.total_sectors())
          .Field("ntfs_boot_sector", ntfs);
      std::printf("%s\n", line.str().c_str());
      if (ntfs) std::printf("%s\n", VolumeJson(1, *sector0.volume, src.bytes_per_sector()).c_str());
      return;
    }
    std::printf("source %s\n  %u bytes per sector, %llu sectors\n", source->c_str(),
                unsigned{src.bytes_per_sector()},
                static_cast<unsigned long long>(src.total_sectors()));
    if (ntfs)
      std::printf("sector 0 is an NTFS boot sector:\n%s",
                  VolumeText(1, *sector0.volume, src.bytes_per_sector()).c_str());
    else
      std::printf("sector 0 is not an NTFS boot sector\n");
  });
}

}  // namespace salvor::cli
