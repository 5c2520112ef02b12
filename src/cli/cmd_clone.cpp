#include <cstdio>

#include "cli/commands.h"
#include "cli/copy_command.h"
#include "disk/texts.h"

namespace salvor::cli {

void AddCloneCommand(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand("clone", "Copy a disk sector by sector onto another disk");
  auto source = std::make_shared<std::string>();
  auto dest = std::make_shared<std::string>();
  cmd->add_option("SOURCE", *source, "Block device or image file to copy")->required();
  cmd->add_option("DEST", *dest, "Disk to overwrite (or an existing file standing in for one)")
      ->required();
  cmd->callback([&ctx, source, dest] {
    if (!PrepareCopySource(ctx, *source, *dest)) return;
    SectorSource& src = ctx.state.source;
    OpenResult probe = OpenBlockDeviceReadOnly(*dest);
    if (!probe.device) {
      std::fprintf(stderr, "salvor-cli: cannot open %s: %s\n", dest->c_str(),
                   ErrorText(probe.error).c_str());
      ctx.exit_status = kExitFailure;
      return;
    }
    // A file has no sector size of its own: it takes the source's.
    std::uint32_t dest_bps = probe.device->IsBlockDevice() ? probe.device->LogicalSectorSize()
                                                           : src.bytes_per_sector();
    if (dest_bps == 0) dest_bps = 512;
    std::uint64_t dest_bytes = probe.device->SizeBytes();
    probe.device.reset();
    if (dest_bps != src.bytes_per_sector() || dest_bytes / dest_bps < src.total_sectors()) {
      ctx.host.ShowMessage(MessageIcon::kError, text::kCaptionProduct, text::kDestinationTooSmall);
      ctx.exit_status = kExitFailure;
      return;
    }
    DestinationOpen target = OpenCloneTarget(*dest);
    if (!target.destination) {
      std::fprintf(stderr, "salvor-cli: cannot open %s for writing: %s\n", dest->c_str(),
                   ErrorText(target.error).c_str());
      ctx.exit_status = kExitFailure;
      return;
    }
    MediumLabel from = DescribeMedium(
        ctx, *source, std::uint64_t{src.bytes_per_sector()} * src.total_sectors());
    MediumLabel to = DescribeMedium(ctx, *dest, dest_bytes);
    LogEntry heading;
    heading.text = Format(text::kCloningDiskHeading, from.model.c_str(), from.size.c_str(),
                          from.serial.c_str());
    heading.detail =
        Format(text::kCloningDiskDetail, to.model.c_str(), to.size.c_str(), to.serial.c_str());
    RunCopyCommand(ctx, CopyKind::kCloning, *target.destination, heading);
  });
}

}  // namespace salvor::cli
