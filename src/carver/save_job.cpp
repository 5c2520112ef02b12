#include "carver/save_job.h"

#include "carver/save_selection.h"
#include "carver/texts.h"

namespace salvor::carver {
namespace {

SaveResult SaveInMode(FoundTree& tree, SectorReader& reader, const SaveJob& job, SaveMode mode,
                      ArchiveSeries& series, Host& host, RunControl& run, const SaveEvents& events) {
  ApplyExclusions(*tree.root, job.excluded);
  const SaveSettings settings{job.destination, job.compress, mode};
  return SaveCarvedFiles(tree, reader, settings, series, host, run, events.on_target, events.on_file);
}

void Status(const SaveEvents& events, std::string_view status) {
  if (events.on_status) events.on_status(status);
}

}  // namespace

SaveResult RunSave(FoundTree& tree, SectorReader& reader, const SaveJob& job, ArchiveSeries& series,
                   Host& host, RunControl& run, const SaveEvents& events) {
  SaveResult result = SaveInMode(tree, reader, job, SaveMode::kSave, series, host, run, events);
  if (result.status != SaveStatus::kCompleted) return result;
  host.ShowMessage(MessageIcon::kInformation, text::kCaptionInformation,
                   job.compress ? text::kSavingCompletedCompressed : text::kSavingCompleted);
  Status(events, text::kStatusSavingCompleted);
  host.Progress({ProgressPhase::kSave, 1, 1, ProgressUnit::kItems});
  return result;
}

SaveResult RunBurn(FoundTree& tree, SectorReader& reader, const SaveJob& job, ArchiveSeries& series,
                   DiscWriter& disc, Host& host, RunControl& run, const SaveEvents& events) {
  SaveResult result = SaveInMode(tree, reader, job, SaveMode::kBurn, series, host, run, events);
  if (result.status != SaveStatus::kCompleted) return result;
  Status(events, job.compress ? text::kStatusBurningCompressed : text::kStatusBurning);
  host.Progress({ProgressPhase::kSave, 0, 1, ProgressUnit::kItems});
  // Only what this save made goes on the disc and is deleted after: the
  // chosen cache location may hold other files (or be a drive's root).
  const std::filesystem::path& cache = job.compress ? result.archive_folder : result.output_folder;
  if (!disc.WriteFolder(cache, host, run, events.on_status)) {
    // The cache stays: what was saved is not lost with a failed burn.
    result.status = run.IsRunning() ? SaveStatus::kFailed : SaveStatus::kStopped;
    return result;
  }
  std::error_code ignored;
  std::filesystem::remove_all(cache, ignored);
  host.ShowMessage(MessageIcon::kInformation, text::kCaptionInformation, text::kBurningCompleted);
  return result;
}

}  // namespace salvor::carver
