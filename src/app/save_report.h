#pragma once
// The recovery report's records of a save of recovered entries.

#include <string>

#include "app/recovery_report.h"
#include "ntfs/save_entries.h"

namespace salvor {

// One record for an item of the save into `destination`; a file that was
// written is read back for its digest (nothing is read in a dry run).
ReportItem ReportOfSavedItem(const SavedItem& item, const std::string& destination, bool dry_run);

}  // namespace salvor
