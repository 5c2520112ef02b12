#include <cstdio>

#include "cli/cli_context.h"
#include "disk/block_device.h"
#include "disk/open_failure.h"

namespace salvor::cli {

bool OpenSource(CliContext& ctx, const std::string& path) {
  ResetSource(ctx.state);
  OpenResult opened = OpenBlockDeviceReadOnly(path);
  if (!opened.device) {
    std::fprintf(stderr, "salvor-cli: cannot open %s: %s\n", path.c_str(),
                 OpenFailureText(path, opened.error).c_str());
    return false;
  }
  SectorSource& source = ctx.state.source;
  if (opened.device->IsBlockDevice()) {
    std::uint32_t bps = opened.device->LogicalSectorSize();
    if (bps == 0) bps = 512;
    std::uint64_t size = opened.device->SizeBytes();
    opened.device.reset();
    if (!source.OpenDisk(path, static_cast<std::uint16_t>(bps), size / bps)) {
      std::fprintf(stderr, "salvor-cli: cannot open %s\n", path.c_str());
      return false;
    }
  } else {
    opened.device.reset();
    if (!source.OpenImage(path)) {
      std::fprintf(stderr, "salvor-cli: cannot open %s\n", path.c_str());
      return false;
    }
  }
  if (ctx.options.sector_size != 0) source.SetBytesPerSector(ctx.options.sector_size);
  return true;
}

}  // namespace salvor::cli
