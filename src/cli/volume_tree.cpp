#include "cli/volume_tree.h"

#include <cstdio>

#include "app/scan_info_files.h"
#include "disk/texts.h"
#include "ntfs/tree_builder.h"
#include "ntfs/turbo_scan.h"

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

// Runs the chosen walk into the freshly created database. True when the walk
// ran to its end.
bool RunWalk(CliContext& ctx, const VolumeOptions& options, unsigned drive, ScanDatabase& db) {
  if (!options.turbo) {
    ctx.host.set_progress_label(std::string(text::kProgressProcessing));
    const bool completed = BuildTree(ctx.state, db);
    if (completed)
      ctx.host.Progress({ProgressPhase::kProcessing, ctx.state.volume.mft_record_count,
                         ctx.state.volume.mft_record_count, ProgressUnit::kRecords});
    return completed;
  }
  ctx.state.volume.turbo_scan_mark = 1;
  Log(ctx, Format(text::kStartedTurboScan, drive), LogKind::kInformation);
  ctx.host.set_progress_label(std::string(text::kProgressTurboScan));
  const bool completed = TurboScanVolume(ctx.state, db);
  if (completed)
    ctx.host.Progress({ProgressPhase::kTurbo, ctx.state.volume.length, ctx.state.volume.length,
                       ProgressUnit::kSectors});
  Log(ctx, Format(completed ? text::kCompletedTurboScan : text::kAbortedTurboScan, drive),
      completed ? LogKind::kCompleted : LogKind::kFailure);
  return completed;
}

bool BuildVolumeTree(CliContext& ctx, const std::string& source, const VolumeOptions& options,
                     const std::filesystem::path& folder, VolumeTree& tree) {
  if (!OpenSource(ctx, source)) return Fail(ctx, {});
  const bool require_mft = !options.turbo;
  const std::optional<unsigned> drive =
      options.search.method.empty()
          ? ChooseVolume(ctx, options.choice, source, require_mft)
          : (ListVolumes(ctx, options.search)
                 ? ChooseListedVolume(ctx, options.choice, source, require_mft)
                 : std::nullopt);
  if (!drive) return Fail(ctx, {});

  Log(ctx, text::kProcessingFileSystem, LogKind::kInformation, text::kLogSeparator);
  if (!CreateDatabase(tree.db, folder)) {
    Log(ctx, text::kSupportingFilesNotOpened, LogKind::kCompleted, tree.db.error);
    return Fail(ctx, tree.db.error);
  }
  const bool completed = RunWalk(ctx, options, *drive, tree.db);
  ctx.host.FinishProgress();
  tree.stopped = !ctx.run.IsRunning();
  const bool closed = CloseDatabase(tree.db);
  if (tree.db.failed || !closed) {
    Log(ctx, text::kAbortedProcessingFileSystem, LogKind::kFailure, tree.db.error);
    return Fail(ctx, tree.db.error);
  }
  Log(ctx, completed ? text::kCompletedProcessingFileSystem : text::kAbortedProcessingFileSystem,
      completed ? LogKind::kCompleted : LogKind::kFailure);
  Log(ctx, text::kPopulatingDirectoryStructure, LogKind::kInformation);
  if (!OpenDatabase(tree.db, folder)) {
    Log(ctx, text::kSupportingFilesNotOpened, LogKind::kCompleted, tree.db.error);
    return Fail(ctx, tree.db.error);
  }
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
  std::string error;
  std::optional<std::filesystem::path> folder = PrivateDatabaseFolder(error);
  if (!folder || !tree.lock.Acquire(*folder, error)) return Fail(ctx, error);

  if (!options.scan_info.load.empty()) {
    // A loaded scan names its own source and brings its tree: no walk.
    if (!LoadTreeInfo(options.scan_info.load, ctx.state, tree.db, *folder, ctx.host))
      return Fail(ctx, {});
  } else if (!BuildVolumeTree(ctx, source, options, *folder, tree)) {
    return false;
  }
  if (!options.scan_info.save.empty() &&
      !SaveTreeInfo(options.scan_info.save, ctx.state, *folder, ctx.host))
    return Fail(ctx, {});
  return true;
}

}  // namespace salvor::cli
