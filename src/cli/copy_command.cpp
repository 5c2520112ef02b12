#include "cli/copy_command.h"

#include <filesystem>

#include "disk/disk_list.h"
#include "disk/texts.h"

namespace salvor::cli {

MediumLabel DescribeMedium(CliContext& ctx, const std::string& path, std::uint64_t bytes) {
  std::error_code ec;
  std::filesystem::path real = std::filesystem::canonical(path, ec);
  if (!ec && std::filesystem::is_block_file(real, ec)) {
    for (const DiskListEntry& disk : EnumerateDisks(ctx.host))
      if (real == std::filesystem::path("/dev") / disk.device_name)
        return {disk.model, disk.size, disk.serial_number};
  }
  return {path, DiskSizeText(bytes), std::string(text::kNotAvailable)};
}

bool PrepareCopySource(CliContext& ctx, const std::string& source,
                       const std::string& destination) {
  if (!OpenSource(ctx, source)) {
    ctx.exit_status = kExitFailure;
    return false;
  }
  if (OverlapsSource(*ctx.state.source.device(), destination)) {
    ctx.host.ShowMessage(MessageIcon::kError, text::kCaptionProduct,
                         text::kChooseDifferentDestination);
    ctx.exit_status = kExitFailure;
    return false;
  }
  return true;
}

void RunCopyCommand(CliContext& ctx, CopyKind kind, CopyDestination& destination,
                    const LogEntry& heading) {
  SectorSource& source = ctx.state.source;
  ctx.host.AddLogEntry(heading);
  ctx.host.set_progress_label(std::string(kind == CopyKind::kImaging ? text::kImaging
                                                                     : text::kCloning));
  ctx.host.set_progress_unit_bytes(source.bytes_per_sector());
  CopyJob job{kind, source.total_sectors(), kCopySectorsPerStep};
  CopyResult result = RunCopy(source, destination, job, heading, ctx.host, ctx.run);
  if (result.outcome != CopyOutcome::kCompleted) ctx.exit_status = kExitFailure;
}

}  // namespace salvor::cli
