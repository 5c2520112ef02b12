#include "app/save_report.h"

#include <filesystem>

#include "disk/texts.h"

namespace salvor {

ReportItem ReportOfSavedItem(const SavedItem& item, const std::string& destination, bool dry_run) {
  ReportItem r;
  r.entry = item.entry.entry_number;
  r.record = item.entry.own_record;
  r.deleted = !item.entry.present();
  r.original_path = item.source_path;
  r.written_path = item.target_path.empty()
                       ? std::string()
                       : (std::filesystem::path(destination) / item.target_path).string();
  r.size = item.entry.folder() ? 0 : item.entry.size;
  switch (item.outcome) {
    case SavedOutcome::kSaved: r.outcome = ReportOutcome::kSaved; break;
    case SavedOutcome::kRenamed: r.outcome = ReportOutcome::kRenamed; break;
    case SavedOutcome::kSkipped:
      r.outcome = ReportOutcome::kSkipped;
      r.reason = text::kReportNameTaken;
      break;
    case SavedOutcome::kExcluded:
      r.outcome = ReportOutcome::kSkipped;
      r.reason = text::kReportExcluded;
      break;
    case SavedOutcome::kFailed:
      r.outcome = ReportOutcome::kFailed;
      r.reason = text::kReportRecordFailed;
      break;
  }
  const bool written = r.outcome == ReportOutcome::kSaved || r.outcome == ReportOutcome::kRenamed ||
                       r.outcome == ReportOutcome::kFailed;
  if (written && !item.entry.folder() && !dry_run && !r.written_path.empty())
    r.sha256 = FileSha256(r.written_path);
  return r;
}

}  // namespace salvor
