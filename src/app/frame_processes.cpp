#include "app/frame_processes.h"

#include <deque>

#include "disk/texts.h"
#include "ntfs/tree_builder.h"
#include "ntfs/turbo_scan.h"

namespace salvor {
namespace {

void Log(Host& host, std::string_view text, LogKind kind, std::string_view detail = {}) {
  host.AddLogEntry({std::string(text), std::string(detail), "", kind});
}

bool SupportingFilesFailed(ProcessJob& job) {
  Log(job.state.host(), text::kSupportingFilesNotOpened, LogKind::kCompleted, job.db.error);
  return false;
}

// Closes the writer, reopens the files for reading, counts the tree and
// closes them again: the views open their own reader afterwards.
bool ReopenAndCount(ProcessJob& job, ProcessOutcome& outcome) {
  if (!OpenDatabase(job.db, job.folder)) return SupportingFilesFailed(job);
  outcome.totals = CountTreeTotals(job.db, job.state.host());
  CloseDatabase(job.db);
  outcome.tree_readable = true;
  return true;
}

}  // namespace

Totals CountTreeTotals(ScanDatabase& db, Host& host) {
  Totals totals;
  const std::uint32_t entries = db.entry_count();
  std::deque<std::uint32_t> blocks{0};  // entry 0's list is the block at offset 0
  std::uint32_t counter = 2;
  while (!blocks.empty()) {
    const std::uint32_t block = blocks.front();
    blocks.pop_front();
    host.Progress(counter++, entries);
    VisitChildren(db, block, [&](const EntryNode& child) {
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
  Host& host = job.state.host();
  ProcessOutcome outcome;
  Log(host, text::kProcessingFileSystem, LogKind::kInformation, text::kLogSeparator);
  CloseDatabase(job.db);
  if (!CreateDatabase(job.db, job.folder)) {
    SupportingFilesFailed(job);
    return outcome;
  }
  job.run.WaitWhilePaused();
  outcome.completed = BuildTree(job.state, job.db) && !job.db.failed;
  if (outcome.completed)
    host.Progress(job.state.volume.mft_record_count, job.state.volume.mft_record_count);
  Log(host,
      outcome.completed ? text::kCompletedProcessingFileSystem
                        : text::kAbortedProcessingFileSystem,
      outcome.completed ? LogKind::kCompleted : LogKind::kFailure, job.db.error);
  if (!CloseDatabase(job.db)) {
    SupportingFilesFailed(job);
    return outcome;
  }
  job.frame.SetProgressLabel(text::kProgressPopulating);
  Log(host, text::kPopulatingDirectoryStructure, LogKind::kInformation);
  ReopenAndCount(job, outcome);
  return outcome;
}

ProcessOutcome RunTurboScanProcess(ProcessJob& job) {
  Host& host = job.state.host();
  ProcessOutcome outcome;
  if (!CloseDatabase(job.db)) {
    SupportingFilesFailed(job);
    return outcome;
  }
  job.state.volume.turbo_scan_mark = 1;
  Log(host, Format(text::kStartedTurboScan, job.drive), LogKind::kInformation,
      text::kLogSeparator);
  job.frame.ClearViews();
  if (!CreateDatabase(job.db, job.folder)) {
    SupportingFilesFailed(job);
    return outcome;
  }
  job.run.WaitWhilePaused();
  outcome.completed = TurboScanVolume(job.state, job.db) && !job.db.failed;
  if (outcome.completed) {
    Log(host, Format(text::kCompletedTurboScan, job.drive), LogKind::kCompleted);
    host.Progress(1, 1);
  } else {
    Log(host, Format(text::kAbortedTurboScan, job.drive), LogKind::kFailure, job.db.error);
  }
  host.ShowMessage(MessageIcon::kInformation, text::kCaptionInformation,
                   outcome.completed ? text::kTurboScanCompleted : text::kTurboScanAborted);
  if (!CloseDatabase(job.db)) {
    SupportingFilesFailed(job);
    return outcome;
  }
  ReopenAndCount(job, outcome);
  return outcome;
}

}  // namespace salvor
