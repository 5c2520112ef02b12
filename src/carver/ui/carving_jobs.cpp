#include "carver/ui/carving_jobs.h"

#include "app/carving_operations.h"

namespace salvor::carver::ui {

void RunScanJob(TrawlerSession& session, Host& host, RunControl& run,
                const std::function<void(std::uint32_t)>& on_found) {
  session.scan = CarveSource(session.disk, session.selected, host, run, true,
                             [&on_found](const FoundNode&, std::uint32_t count) { on_found(count); });
}

SaveResult RunSaveJob(TrawlerSession& session, Host& host, RunControl& run,
                      const SaveEvents& events) {
  CarvedSaveRequest request;
  request.destination = session.save.destination;
  request.zip = session.save.compress;
  request.excluded = session.save.excluded;
  request.only_checked = true;
  return SaveCarvedFiles(session.scan, session.disk, request, session.archives, host, run, events);
}

}  // namespace salvor::carver::ui
