#include "app/frame_processes.h"

#include <deque>

#include "app/volume_processing.h"
#include "disk/texts.h"
#include "ntfs/scan_database.h"
#include "disk/progress_reporter.h"

namespace salvor {
namespace {

ProcessOutcome BuildVolumeTree(ProcessJob& job, TreeWalk walk) {
  ProcessOutcome outcome;
  ScanDatabaseReader reader;
  const OperationStatus status =
      ProcessVolume(job.state, job.drive, walk, job.folder, reader);
  outcome.completed = status.completed();
  if (status.failed()) return outcome;
  if (walk == TreeWalk::kTurboScan)
    job.state.host().ShowMessage(
        MessageIcon::kInformation, text::kCaptionInformation,
        outcome.completed ? text::kTurboScanCompleted : text::kTurboScanAborted);
  job.frame.SetProgressLabel(text::kProgressPopulating);
  outcome.totals = CountTreeTotals(reader, job.state.host());
  outcome.tree_readable = true;
  return outcome;
}

}  // namespace

Totals CountTreeTotals(ScanDatabaseReader& reader, Host& host) {
  Totals totals;
  const std::uint32_t entries = reader.entry_count();
  std::deque<std::uint32_t> blocks{0};  // entry 0's list is the block at offset 0
  std::uint32_t counter = 2;
  ProgressReporter progress(host, ProgressPhase::kPopulating, ProgressUnit::kItems);
  while (!blocks.empty()) {
    const std::uint32_t block = blocks.front();
    blocks.pop_front();
    progress.Report(counter++, entries);
    reader.VisitChildren(block, [&](const EntryNode& child) {
      totals.bytes += child.size;
      if (child.folder()) {
        ++totals.folders;
        if (child.child_block != 0) blocks.push_back(child.child_block);
      } else {
        ++totals.files;
      }
      return true;
    });
  }
  return totals;
}

ProcessOutcome RunFileSystemProcessing(ProcessJob& job) {
  job.run.WaitWhilePaused();
  return BuildVolumeTree(job, TreeWalk::kMft);
}

ProcessOutcome RunTurboScanProcess(ProcessJob& job) {
  job.run.WaitWhilePaused();
  job.frame.ClearViews();
  return BuildVolumeTree(job, TreeWalk::kTurboScan);
}

}  // namespace salvor
