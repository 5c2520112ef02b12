#include "cli/volume_tree.h"

#include "app/scan_info_files.h"
#include "app/volume_processing.h"
#include "disk/texts.h"

namespace salvor::cli {
namespace {

bool Fail(CliContext& ctx, const OperationStatus& status = {}) {
  PrintFailure(status);
  ctx.exit_status = kExitFailure;
  return false;
}

bool BuildVolumeTree(CliContext& ctx, const std::string& source, const VolumeOptions& options,
                     const std::filesystem::path& folder, VolumeTree& tree) {
  if (!OpenSourceArgument(ctx, source) || !ListVolumes(ctx, options.search)) return Fail(ctx);
  const std::optional<unsigned> drive =
      ChooseListedVolume(ctx, options.choice, source, !options.turbo);
  if (!drive) return Fail(ctx);
  ctx.host.set_progress_label(
      std::string(options.turbo ? text::kProgressTurboScan : text::kProgressProcessing));
  const OperationStatus processed =
      ProcessVolume(ctx.state, *drive, options.turbo ? TreeWalk::kTurboScan : TreeWalk::kMft,
                    folder, tree.db);
  ctx.host.FinishProgress();
  if (processed.failed()) return Fail(ctx, processed);
  tree.stopped = processed.stopped();
  return true;
}

}  // namespace

void AddVolumeTreeOptions(CLI::App* cmd, VolumeOptions& options, CLI::Option* source) {
  AddVolumeOptions(cmd, options.choice);
  AddVolumeSearchOptions(cmd, options.search);
  AddTreeInfoOptions(cmd, options.scan_info, source);
  cmd->add_flag("--turbo", options.turbo,
                "Rebuild the tree by the Turbo Scan: every FILE record and INDX block of the "
                "whole volume, wherever they lie");
}

bool OpenVolumeTree(CliContext& ctx, const std::string& source, const VolumeOptions& options,
                    VolumeTree& tree) {
  if (!HasSourceOrLoad(ctx, source, options.scan_info)) return false;
  std::filesystem::path folder;
  const OperationStatus locked = LockDatabaseFolder(tree.lock, folder);
  if (!locked.completed()) return Fail(ctx, locked);

  if (!options.scan_info.load.empty()) {
    // A loaded scan names its own source and brings its tree: no walk.
    if (!LoadTreeInfo(options.scan_info.load, ctx.state, tree.db, folder, ctx.host))
      return Fail(ctx);
  } else if (!BuildVolumeTree(ctx, source, options, folder, tree)) {
    return false;
  }
  if (!options.scan_info.save.empty() &&
      !SaveTreeInfo(options.scan_info.save, ctx.state, folder, ctx.host))
    return Fail(ctx);
  return true;
}

}  // namespace salvor::cli
