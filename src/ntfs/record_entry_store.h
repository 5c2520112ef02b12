#pragma once
// The step that the MFT walk and the Turbo Scan share: a parsed base record
// becomes an entry of the scan database, linked into its parent's list.

#include <cstdint>

#include <span>

#include "ntfs/engine_state.h"
#include "ntfs/entry_info.h"
#include "ntfs/record_names.h"
#include "ntfs/scan_database.h"

namespace salvor {

// Writes `entry` (own record, parent, record sector and the rest already set)
// as entry number `counter`. A nameless entry is named "#<own record>". A file
// is appended and added to its parent's list (the parent becomes a
// placeholder when it has not been met); a folder goes through
// AddFolderEntry, which drops a second folder of the same record number.
// `counter` grows by one for every entry written.
void StoreRecordEntry(ScanDatabaseWriter& db, EntryInfo& entry, bool folder, std::uint32_t& counter);

// Writes file `entry` once under each of `names` (all the names of its
// record: hard links), each in the folder it names, with the same record,
// size, flags and dates. A name that a system file has, or that names the
// record as its own folder, is left out. Returns the number written.
std::size_t StoreFileNames(ScanDatabaseWriter& db, EntryInfo& entry, std::span<const RecordName> names,
                           std::uint32_t& counter);

// The step for a checked base record that ParseFileRecord filled into
// `entry` (`parsed` its result) and whose own number and record sector are
// set: a folder as StoreRecordEntry writes it; a file under every name of
// its record, or, when the record gives none that may be listed, as parsed.
void StoreParsedRecord(EngineState& state, ScanDatabaseWriter& db, std::span<const std::uint8_t> record,
                       EntryInfo& entry, bool parsed, std::uint32_t& counter);

}  // namespace salvor
