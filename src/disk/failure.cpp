#include "disk/failure.h"

#include "disk/block_device.h"

namespace salvor {

LogEntry FailureLogEntry(const Failure& failure) {
  LogEntry entry;
  entry.text = failure.what;
  entry.detail = failure.where;
  if (failure.system_error != 0) {
    if (!entry.detail.empty()) entry.detail += ": ";
    entry.detail += ErrorText(failure.system_error);
  }
  entry.kind = LogKind::kFailure;
  return entry;
}

void LogFailure(Host& host, const Failure& failure) { host.AddLogEntry(FailureLogEntry(failure)); }

void LogDroppedFault(Host& host, const std::exception& fault) {
  LogFailure(host, {fault.what(), {}, 0});
}

}  // namespace salvor
