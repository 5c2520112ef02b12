#include <cstdio>

#include "cli/commands.h"
#include "cli/copy_command.h"

namespace salvor::cli {

void AddImageCommand(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand("image", "Copy a disk sector by sector into an image file");
  auto source = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  auto force = std::make_shared<bool>(false);
  cmd->add_option("SOURCE", *source, "Block device or image file to copy")->required();
  cmd->add_option("OUT", *out, "Image file to create (.vk2), replaced if it exists")->required();
  cmd->add_flag("--force", *force, "Image even when the folder seems to lack the space");
  cmd->callback([&ctx, source, out, force] {
    ctx.host.set_answer_yes(*force);
    PreparedImage image = PrepareImage(ctx.state, *source, ctx.options.sector_size, *out);
    if (image.declined)
      std::fprintf(stderr,
                   "salvor-cli: the image needs %llu bytes and %llu are free; --force images "
                   "anyway\n",
                   static_cast<unsigned long long>(image.bytes_needed),
                   static_cast<unsigned long long>(image.bytes_free));
    RunCopyCommand(ctx, CopyKind::kImaging, image);
  });
}

}  // namespace salvor::cli
