#pragma once
// How many entries of a scan database name each file record: a file with
// hard links is one record listed under each of its names.

#include <cstdint>
#include <unordered_map>

#include "ntfs/database_entry.h"
#include "ntfs/scan_database_reader.h"

namespace salvor {

class RecordLinks {
 public:
  // Reads every entry once. Only records named more than once are kept,
  // so that a volume of single-named files costs next to nothing. A file
  // record is known by its sector, which no other record shares.
  static RecordLinks Count(ScanDatabaseReader& db);

  // The names of the record of file entry `e`: 1 for a record named once.
  std::uint32_t Names(const EntryNode& e) const;

 private:
  std::unordered_map<std::uint64_t, std::uint32_t> many_;
};

}  // namespace salvor
