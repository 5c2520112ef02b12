#include <cstdio>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "disk/disk_list.h"

namespace salvor::cli {

void AddDisksCommand(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand("disks", "List the physical disks of this machine");
  cmd->footer(
      "Examples:\n"
      "  salvor-cli disks\n"
      "  salvor-cli disks --json");
  cmd->callback([&ctx] {
    for (const DiskListEntry& disk : EnumerateDisks(ctx.host)) {
      auto texts = DiskListTexts(disk);
      if (ctx.options.json) {
        JsonLine line;
        for (std::size_t i = 0; i < kDiskListFieldCount; ++i) line.Field(kDiskListKeys[i], texts[i]);
        std::printf("%s\n", line.str().c_str());
        continue;
      }
      std::printf("/dev/%s\n", disk.device_name.c_str());
      for (std::size_t i = 1; i < kDiskListFieldCount; ++i)
        std::printf("  %-17s %.*s\n", std::string(kDiskListKeys[i]).c_str(),
                    static_cast<int>(texts[i].size()), texts[i].data());
    }
  });
}

}  // namespace salvor::cli
