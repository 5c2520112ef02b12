#pragma once
// The carving engine's two long operations as the processing page runs them
// on its worker thread. This is the one place the desktop program calls them.

#include <cstdint>
#include <functional>

#include "carver/save_job.h"
#include "carver/ui/trawler_session.h"
#include "disk/host.h"
#include "disk/run_control.h"

namespace salvor::carver::ui {

// Scans the session's disk for its selected types; the found tree replaces
// the previous one. `on_found` hears the files-found count.
void RunScanJob(TrawlerSession& session, Host& host, RunControl& run,
                const std::function<void(std::uint32_t)>& on_found);

// Saves the checked files (less the excluded types) as the session's
// save request asks.
SaveResult RunSaveJob(TrawlerSession& session, Host& host, RunControl& run,
                      const SaveEvents& events);

}  // namespace salvor::carver::ui
