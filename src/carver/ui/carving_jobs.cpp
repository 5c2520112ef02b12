#include "carver/ui/carving_jobs.h"

namespace salvor::carver::ui {

void RunScanJob(TrawlerSession& session, Host& host, RunControl& run,
                const std::function<void(std::uint32_t)>& on_found) {
  ScanOptions options;
  options.on_found = [&on_found](const FoundNode&, std::uint32_t count) { on_found(count); };
  session.scan = RunCarvingScan(session.disk, session.selected, session.continuation, host, run,
                                options);
}

SaveResult RunSaveJob(TrawlerSession& session, Host& host, RunControl& run,
                      const SaveEvents& events) {
  const SaveRequest& request = session.save;
  SaveJob job;
  job.destination = request.destination;
  job.compress = request.compress;
  job.excluded = request.excluded;
  SectorReader reader(session.disk, host);
  return RunSave(session.scan.tree, reader, job, session.archives, host, run, events);
}

}  // namespace salvor::carver::ui
