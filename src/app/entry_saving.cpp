#include "app/entry_saving.h"

#include <filesystem>

#include "disk/sector_source.h"
#include "disk/texts.h"
#include "ntfs/data_writer.h"

namespace salvor {

std::string SaveSummaryText(const SaveSummary& s) {
  return Format(text::kRecoverSummary, static_cast<unsigned long long>(s.files),
                static_cast<unsigned long long>(s.folders), static_cast<unsigned long long>(s.bytes),
                static_cast<unsigned long long>(s.skipped), static_cast<unsigned long long>(s.failed),
                static_cast<unsigned long long>(s.excluded));
}

SaveSummary SaveTreeEntries(EngineState& state, ScanDatabaseReader& db, const SaveRequest& request) {
  Host& host = state.host();
  std::error_code ec;
  std::filesystem::create_directories(request.destination, ec);  // an existing folder is fine
  host.AddLogEntry(
      {std::string(text::kSavingData), request.destination, "", LogKind::kInformation});
  const SaveSummary summary = SaveEntries(state, db, request);
  host.AddLogEntry({std::string(summary.ok() ? text::kSavingDataCompleted : text::kSavingDataEnded),
                    SaveSummaryText(summary), "",
                    summary.ok() ? LogKind::kCompleted : LogKind::kFailure});
  return summary;
}

bool WriteFileEntry(EngineState& state, const EntryNode& entry, int fd) {
  try {
    FdSink sink(state.host(), fd);
    const SaveDataResult written = SaveFileData(state, entry.record_sector, sink, nullptr);
    sink.Finish();
    if (written.ok) return true;
    state.host().AddLogEntry({Utf16ToUtf8(entry.name), std::string(text::kFileSavingFailed), "",
                              LogKind::kFailure});
    return false;
  } catch (const UserException&) {
    return false;  // shown where it happened
  }
}

}  // namespace salvor
