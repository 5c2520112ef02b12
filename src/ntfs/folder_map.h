#pragma once
// The folder map: MFT record number -> the folder's entry and its
// children list in the scan database, and the shared steps that grow it.
// It lives in the ScanDatabaseWriter from CreateDatabase to CloseDatabase and is
// used by the tree builder (BuildTree) and by the Turbo Scan alike.

#include <cstdint>
#include <map>

namespace salvor {

struct EntryInfo;
struct ScanDatabaseWriter;

struct FolderNode {
  std::uint32_t entry_number = 0;  // the folder's entry in the database
  std::uint32_t record = 0;        // its MFT record number (the key)
  std::uint32_t first_block = 0;   // tree-file offset of its children list's first block
  // Named as a parent, but its own record has not been met (yet).
  bool placeholder = false;
};

// Ordered by record number (compared unsigned), so lost folders come out in
// record order.
using FolderMap = std::map<std::uint32_t, FolderNode>;

// The folder of MFT record `record`. When the map has none, a placeholder is
// inserted and given a children list of its own (NewChildList). Database
// failures raise UserException, leaving the map as it was.
FolderNode& FindOrAddParent(ScanDatabaseWriter& db, std::uint32_t record);

// Writes the folder entry `entry` (own record number, parent record number,
// name and the rest filled in; its entry number becomes `counter`):
// the parent is found or added; a folder not in the map is inserted with a
// new children list, a placeholder stops being one and keeps the list it
// collected; the entry joins its parent's list, takes its child block, is
// appended with its name, and `counter` grows by one. A folder whose record
// number already has an entry of its own is dropped: nothing is written and
// `counter` stays. Returns true when the entry was written.
bool AddFolderEntry(ScanDatabaseWriter& db, EntryInfo& entry, std::uint32_t& counter);

// Writes every placeholder left in the map as a lost folder under entry 0:
// flags 0x10 (a folder, not present), own record number n, parent 0, its
// collected children list, name "#n"; entry numbers from `counter` on. Then
// writes the block buffer and flushes the files, so that everything built
// is on disk.
void AddLostFolders(ScanDatabaseWriter& db, std::uint32_t& counter);

}  // namespace salvor
