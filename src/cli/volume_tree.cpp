#include "cli/volume_tree.h"

#include <cstdio>

#include "disk/texts.h"
#include "ntfs/tree_builder.h"

namespace salvor::cli {
namespace {

void Log(CliContext& ctx, std::string_view text, LogKind kind, std::string_view detail = {}) {
  ctx.host.AddLogEntry({std::string(text), std::string(detail), "", kind});
}

bool Fail(CliContext& ctx, const std::string& why) {
  if (!why.empty()) std::fprintf(stderr, "salvor-cli: %s\n", why.c_str());
  ctx.exit_status = kExitFailure;
  return false;
}

}  // namespace

void AddVolumeTreeOptions(CLI::App* cmd, VolumeOptions& options) {
  AddVolumeOptions(cmd, options.choice);
  AddVolumeSearchOptions(cmd, options.search);
}

bool OpenVolumeTree(CliContext& ctx, const std::string& source, const VolumeOptions& options,
                    VolumeTree& tree) {
  if (!OpenSource(ctx, source)) return Fail(ctx, {});
  const bool chosen = options.search.method.empty()
                          ? ChooseVolume(ctx, options.choice, source).has_value()
                          : ListVolumes(ctx, options.search) &&
                                ChooseListedVolume(ctx, options.choice, source).has_value();
  if (!chosen) return Fail(ctx, {});
  std::string error;
  std::optional<std::filesystem::path> folder = PrivateDatabaseFolder(error);
  if (!folder || !tree.lock.Acquire(*folder, error)) return Fail(ctx, error);

  Log(ctx, text::kProcessingFileSystem, LogKind::kInformation, text::kLogSeparator);
  if (!CreateDatabase(tree.db, *folder)) {
    Log(ctx, text::kSupportingFilesNotOpened, LogKind::kCompleted, tree.db.error);
    return Fail(ctx, tree.db.error);
  }
  ctx.host.set_progress_label(std::string(text::kProgressProcessing));
  const bool completed = BuildTree(ctx.state, tree.db);
  ctx.host.FinishProgress();
  tree.stopped = !ctx.run.IsRunning();
  const bool closed = CloseDatabase(tree.db);
  if (tree.db.failed || !closed) {
    Log(ctx, text::kAbortedProcessingFileSystem, LogKind::kFailure, tree.db.error);
    return Fail(ctx, tree.db.error);
  }
  Log(ctx, completed ? text::kCompletedProcessingFileSystem : text::kAbortedProcessingFileSystem,
      completed ? LogKind::kCompleted : LogKind::kFailure);
  if (!OpenDatabase(tree.db, *folder)) {
    Log(ctx, text::kSupportingFilesNotOpened, LogKind::kCompleted, tree.db.error);
    return Fail(ctx, tree.db.error);
  }
  return true;
}

}  // namespace salvor::cli
