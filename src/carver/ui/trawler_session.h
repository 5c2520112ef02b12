#pragma once
// What one run of Trawler carries from page to page: the open disk, the
// types chosen, the last scan's found-file tree and the save settings.

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "carver/archive_series.h"
#include "carver/carve_disk.h"
#include "carver/carving_scan.h"
#include "carver/signature_database.h"

namespace salvor::carver::ui {

struct SaveRequest {
  std::string destination;
  bool compress = false;
  std::vector<std::string> excluded;  // extensions, without the dot
  // Files outside [min_bytes, max_bytes] are left out; 0 means no limit.
  std::uint64_t min_bytes = 0;
  std::uint64_t max_bytes = 0;
};

struct TrawlerSession {
  CarveDisk disk;
  SignatureList selected;  // the checked types, as the scan wants them
  // Lower-case extensions of the chosen types that have no end detection:
  // their files get the maximum size rather than a measured length.
  std::set<std::string> unmeasured_extensions;
  CarvingScanResult scan;
  ArchiveSeries archives;  // numbers keep growing over the saves of one run
  SaveRequest save;
};

}  // namespace salvor::carver::ui
