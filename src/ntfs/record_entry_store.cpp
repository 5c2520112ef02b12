#include "ntfs/record_entry_store.h"

#include <algorithm>
#include <string>

#include "ntfs/folder_map.h"

namespace salvor {

void StoreRecordEntry(ScanDatabase& db, EntryInfo& entry, bool folder, std::uint32_t& counter) {
  if (entry.name_length == 0) {
    const std::string name = "#" + std::to_string(entry.own_record);
    std::copy(name.begin(), name.end(), entry.name.begin());
    entry.name_length = static_cast<std::uint16_t>(name.size());
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
