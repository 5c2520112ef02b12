#include "ntfs/folder_map.h"

#include <algorithm>
#include <cstdio>

#include "disk/sector_source.h"
#include "ntfs/entry_info.h"
#include "ntfs/scan_database.h"

namespace salvor {

FolderNode& FindOrAddParent(ScanDatabaseWriter& db, std::uint32_t record) {
  auto found = db.folders.find(record);
  if (found != db.folders.end()) return found->second;
  auto [it, inserted] = db.folders.emplace(record, FolderNode{0, record, 0, true});
  try {
    NewChildList(db, it->second);
  } catch (...) {
    db.folders.erase(it);  // a node without a list of its own must not stay
    throw;
  }
  return it->second;
}

bool AddFolderEntry(ScanDatabaseWriter& db, EntryInfo& entry, std::uint32_t& counter) {
  FolderNode& parent = FindOrAddParent(db, entry.parent_record);
  FolderNode* node = nullptr;
  auto found = db.folders.find(entry.own_record);
  if (found == db.folders.end()) {
    auto [it, inserted] =
        db.folders.emplace(entry.own_record, FolderNode{counter, entry.own_record, 0, false});
    try {
      NewChildList(db, it->second);
    } catch (...) {
      db.folders.erase(it);
      throw;
    }
    node = &it->second;
  } else if (found->second.placeholder) {
    node = &found->second;
    node->placeholder = false;
    node->entry_number = counter;
  } else {
    return false;  // the same record number met a second time: dropped
  }
  AddChild(db, parent, counter);
  entry.entry_number = counter;
  entry.child_block = node->first_block;
  AppendEntry(db, entry);
  ++counter;
  return true;
}

void AddLostFolders(ScanDatabaseWriter& db, std::uint32_t& counter) {
  FolderNode& top = FindOrAddParent(db, 0);  // entry 0's list, the block at offset 0
  for (auto& [record, node] : db.folders) {
    if (!node.placeholder) continue;
    EntryInfo e;
    e.entry_number = counter;
    e.own_record = record;
    e.parent_record = 0;
    e.child_block = node.first_block;
    e.flags = kEntryFolder;
    char name[16];
    const int length = std::snprintf(name, sizeof name, "#%u", record);
    std::copy(name, name + length, e.name.begin());
    e.name_length = static_cast<std::uint16_t>(length);
    AppendEntry(db, e);
    AddChild(db, top, counter);
    node.placeholder = false;
    node.entry_number = counter;
    ++counter;
  }
  FlushDatabase(db);
}

}  // namespace salvor
