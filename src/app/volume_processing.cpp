#include "app/volume_processing.h"

#include "disk/sector_source.h"
#include "disk/texts.h"
#include "ntfs/scan_database.h"
#include "ntfs/tree_builder.h"
#include "ntfs/turbo_scan.h"

namespace salvor {
namespace {

void Log(Host& host, std::string_view text, LogKind kind, std::string_view detail = {}) {
  host.AddLogEntry({std::string(text), std::string(detail), "", kind});
}

// Runs the walk into the freshly created database; the final progress is
// reported only for a walk that ran to its end.
bool RunWalk(EngineState& state, unsigned drive, TreeWalk walk, ScanDatabaseWriter& db) {
  Host& host = state.host();
  if (walk == TreeWalk::kMft) {
    const bool completed = BuildTree(state, db);
    if (completed) host.Progress(state.volume.mft_record_count, state.volume.mft_record_count);
    return completed;
  }
  state.volume.turbo_scan_mark = 1;
  Log(host, Format(text::kStartedTurboScan, drive), LogKind::kInformation);
  const bool completed = TurboScanVolume(state, db);
  if (completed) host.Progress(state.volume.length, state.volume.length);
  Log(host, Format(completed ? text::kCompletedTurboScan : text::kAbortedTurboScan, drive),
      completed ? LogKind::kCompleted : LogKind::kFailure);
  return completed;
}

}  // namespace

OperationStatus LockDatabaseFolder(DatabaseFolderLock& lock, std::filesystem::path& folder) {
  std::string error;
  std::optional<std::filesystem::path> found = PrivateDatabaseFolder(error);
  if (!found || !lock.Acquire(*found, error)) return OperationStatus::Failed(error);
  folder = *found;
  return OperationStatus::Completed();
}

OperationStatus ProcessVolume(EngineState& state, unsigned drive, TreeWalk walk,
                              const std::filesystem::path& database_folder,
                              ScanDatabaseReader& reader) {
  Host& host = state.host();
  reader.Close();
  Log(host, text::kProcessingFileSystem, LogKind::kInformation, text::kLogSeparator);
  ScanDatabaseWriter db(host);
  if (!CreateDatabase(db, database_folder)) {
    Log(host, text::kSupportingFilesNotOpened, LogKind::kCompleted, db.error);
    return OperationStatus::Failed(db.error);
  }
  const bool completed = RunWalk(state, drive, walk, db);
  const bool stopped = !state.run().IsRunning();
  const bool closed = CloseDatabase(db);
  if (db.failed || !closed) {
    Log(host, text::kAbortedProcessingFileSystem, LogKind::kFailure, db.error);
    return OperationStatus::Failed(db.error);
  }
  Log(host, completed ? text::kCompletedProcessingFileSystem : text::kAbortedProcessingFileSystem,
      completed ? LogKind::kCompleted : LogKind::kFailure);
  Log(host, text::kPopulatingDirectoryStructure, LogKind::kInformation);
  if (!reader.Open(database_folder)) {
    Log(host, text::kSupportingFilesNotOpened, LogKind::kCompleted, reader.error());
    return OperationStatus::Failed(reader.error());
  }
  return stopped ? OperationStatus::Stopped() : OperationStatus::Completed();
}

}  // namespace salvor
