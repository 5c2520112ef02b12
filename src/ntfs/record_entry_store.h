#pragma once
// The step that the MFT walk and the Turbo Scan share: a parsed base record
// becomes an entry of the scan database, linked into its parent's list.

#include <cstdint>

#include "ntfs/entry_info.h"
#include "ntfs/scan_database.h"

namespace salvor {

// Writes `entry` (own record, parent, record sector and the rest already set)
// as entry number `counter`. A nameless entry is named "#<own record>". A file
// is appended and added to its parent's list (the parent becomes a
// placeholder when it has not been met); a folder goes through
// AddFolderEntry, which drops a second folder of the same record number.
// `counter` grows by one for every entry written.
void StoreRecordEntry(ScanDatabaseWriter& db, EntryInfo& entry, bool folder, std::uint32_t& counter);

}  // namespace salvor
