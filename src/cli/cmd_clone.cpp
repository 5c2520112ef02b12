#include "cli/commands.h"
#include "cli/copy_command.h"

namespace salvor::cli {

void AddCloneCommand(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand("clone", "Copy a disk sector by sector onto another disk");
  auto source = std::make_shared<std::string>();
  auto dest = std::make_shared<std::string>();
  cmd->add_option("SOURCE", *source, "Block device or image file to copy")->required();
  cmd->add_option("DEST", *dest, "Disk to overwrite (or an existing file standing in for one)")
      ->required();
  cmd->callback([&ctx, source, dest] {
    PreparedCopy copy = PrepareClone(ctx.state, *source, ctx.options.sector_size, *dest);
    RunCopyCommand(ctx, CopyKind::kCloning, copy);
  });
}

}  // namespace salvor::cli
