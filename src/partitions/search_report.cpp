#include "disk/texts.h"
#include "partitions/partition_search.h"

namespace salvor {

bool RunPartitionSearch(EngineState& state, const SearchRequest& request,
                        const PartitionFound& found) {
  bool completed = request.thorough
                       ? ThoroughScanPartitions(state, request.start_sector, request.end_sector, found)
                       : QuickScanPartitions(state, request.start_sector, request.end_sector, found);
  const char* method = request.thorough ? text::kThorough : text::kQuick;
  Host& host = state.host();
  LogEntry entry;
  if (completed) {
    host.Progress({ProgressPhase::kSearch, 1, 1, ProgressUnit::kItems});
    entry.text = std::string(text::kSearchCompletedLog);
    entry.kind = LogKind::kCompleted;
    host.AddLogEntry(entry);
    std::string message = Format(text::kSearchCompleted, method);
    if (!request.thorough && state.partitions.empty()) message += text::kQuickFoundNothing;
    host.ShowMessage(MessageIcon::kInformation, text::kCaptionInformation, message);
  } else {
    entry.text = std::string(text::kSearchAbortedLog);
    entry.detail = std::string(text::kSearchAbortedDetail);
    entry.kind = LogKind::kFailure;
    host.AddLogEntry(entry);
    host.ShowMessage(MessageIcon::kError, text::kCaptionInformation,
                     Format(text::kSearchAborted, method));
  }
  return completed;
}

}  // namespace salvor
