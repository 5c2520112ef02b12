#pragma once
// The saving worker's body in its two modes: save (into a folder, optionally
// as archives) and burn (into a cache folder that a disc writer then puts on
// the medium). Both leave out the excluded extensions first and end with the
// user's completion message when nothing failed.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "carver/carved_save.h"
#include "carver/disc_writer.h"

namespace salvor::carver {

struct SaveJob {
  std::filesystem::path destination;  // the cache folder when burning
  bool compress = false;
  std::vector<std::string> excluded;  // extensions to leave out
};

struct SaveEvents {
  TargetListener on_target;
  std::function<void(std::string_view status)> on_status;
  SavedFileListener on_file = {};
};

SaveResult RunSave(FoundTree& tree, SectorReader& reader, const SaveJob& job, ArchiveSeries& series,
                   Host& host, RunControl& run, const SaveEvents& events = {});

SaveResult RunBurn(FoundTree& tree, SectorReader& reader, const SaveJob& job, ArchiveSeries& series,
                   DiscWriter& disc, Host& host, RunControl& run, const SaveEvents& events = {});

}  // namespace salvor::carver
