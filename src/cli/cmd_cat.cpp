// salvor-cli cat: one file entry's data to standard output, written by the
// same data writers as a save.

#include <unistd.h>

#include <cstdio>

#include "app/entry_saving.h"
#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/volume_tree.h"

namespace salvor::cli {
namespace {

struct CatOptions {
  std::string source;
  VolumeOptions volume;
  std::uint32_t entry = 0;
};

void RunCat(CliContext& ctx, const CatOptions& o) {
  VolumeTree tree;
  if (!OpenVolumeTree(ctx, o.source, o.volume, tree)) return;
  std::optional<EntryNode> entry;
  if (o.entry < tree.db.entry_count()) {
    entry = tree.db.ReadEntry(o.entry);
    if (!entry) ctx.host.ShowError(tree.db.error());
  }
  if (!entry || entry->folder()) {
    std::fprintf(stderr, "salvor-cli: %s\n",
                 Format(kNotAFileEntry, o.entry, tree.db.entry_count()).c_str());
    ctx.exit_status = kExitUsage;
    return;
  }
  if (!WriteFileEntry(ctx.state, *entry, STDOUT_FILENO)) ctx.exit_status = kExitFailure;
}

}  // namespace

void AddCatCommand(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand("cat", "Write one file entry's data to standard output");
  auto o = std::make_shared<CatOptions>();
  auto* source = cmd->add_option("SOURCE", o->source, "Block device or image file");
  cmd->add_option("--entry", o->entry, "Entry number of the file (as ls lists it)")->required();
  AddVolumeTreeOptions(cmd, o->volume, source);
  cmd->callback([&ctx, o] { RunCat(ctx, *o); });
}

}  // namespace salvor::cli
