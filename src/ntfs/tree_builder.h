#pragma once
// Rebuilding a volume's directory tree from its master file table: every
// record is read in disk order and becomes one scan database entry, linked
// into the children list of its parent folder by MFT record number. Only the
// folder map stays in memory; the tree itself goes to disk as it is built.

#include <cstddef>

#include "ntfs/engine_state.h"
#include "ntfs/scan_database.h"

namespace salvor {

// How many bytes of consecutive MFT records one read takes: the walk reads
// its way through each run in pieces of this size instead of one record per
// read, so that a million records do not cost a million system calls.
inline constexpr std::size_t kMftReadBytes = 256 * 1024;

// Walks the $MFT run list of state (see LocateMft) and writes the tree into
// `db`, which CreateDatabase has just made: files and folders, present and
// deleted, then the lost folders (folders named as parents whose own records
// were never met) under entry 0. Progress goes to the host before every
// record; a cleared running flag stops the walk at the next record, and the
// lost folders are still written. A read error the user has been shown ends
// the walk as if the runs had ended. True when the walk ran to its end;
// false when it was stopped, could not start, or the database failed
// (db.failed then says so).
bool BuildTree(EngineState& state, ScanDatabaseWriter& db);

}  // namespace salvor
