#include "ntfs/record_entry_store.h"

#include <algorithm>
#include <cstdio>

#include "ntfs/folder_map.h"

namespace salvor {

void StoreRecordEntry(ScanDatabaseWriter& db, EntryInfo& entry, bool folder, std::uint32_t& counter) {
  if (entry.name_length == 0) {
    char name[16];  // "#" + the number; not a std::string sum, which GCC 12 -O3 warns about
    const int length = std::snprintf(name, sizeof name, "#%u", entry.own_record);
    std::copy(name, name + length, entry.name.begin());
    entry.name_length = static_cast<std::uint16_t>(length);
  }
  entry.entry_number = counter;
  entry.name_offset = db.name_offset;
  if (folder) {
    AddFolderEntry(db, entry, counter);
    return;
  }
  AppendEntry(db, entry);
  FolderNode& parent = FindOrAddParent(db, entry.parent_record);
  AddChild(db, parent, counter);
  ++counter;
}

}  // namespace salvor
