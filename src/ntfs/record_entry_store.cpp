#include "ntfs/record_entry_store.h"

#include <algorithm>
#include <cstdio>

#include "ntfs/file_record.h"
#include "ntfs/folder_map.h"
#include "ntfs/record_parser.h"

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

std::size_t StoreFileNames(ScanDatabaseWriter& db, EntryInfo& entry, std::span<const RecordName> names,
                           std::uint32_t& counter) {
  std::size_t written = 0;
  for (const RecordName& n : names) {
    if (n.name.empty() || ExcludedEntryName(n.name) || n.parent == entry.own_record) continue;
    entry.ClearName();
    entry.name_length = static_cast<std::uint16_t>(std::min(n.name.size(), entry.name.size()));
    std::copy_n(n.name.begin(), entry.name_length, entry.name.begin());
    entry.parent_record = n.parent;
    StoreRecordEntry(db, entry, false, counter);
    ++written;
  }
  return written;
}

void StoreParsedRecord(EngineState& state, ScanDatabaseWriter& db, std::span<const std::uint8_t> record,
                       EntryInfo& entry, bool parsed, std::uint32_t& counter) {
  if ((FileRecordFlags(record) & file_record::kFlagDirectory) != 0) {
    if (parsed) StoreRecordEntry(db, entry, true, counter);
    return;
  }
  std::optional<std::uint32_t> number;
  if (UpdateSequenceOffset(record) == file_record::kNewHeader) number = HeaderRecordNumber(record);
  const std::vector<RecordName> names = RecordNames(state, record, number);
  if (StoreFileNames(db, entry, names, counter) == 0 && parsed) StoreRecordEntry(db, entry, false, counter);
}

}  // namespace salvor
