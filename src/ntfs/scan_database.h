#pragma once
// The scan database: three files in a private folder of the user's
// hold the rebuilt tree of a volume, so that millions of entries are browsed
// without being held in memory.
//   NSE.VKT  entries: 44-byte records, entry n at 44 * n (database_entry.h)
//   NSN.VKT  names: UTF-16LE, one after another, no terminators
//   NST.VKT  children lists: 128-byte blocks (tree_block.h)
// All offsets inside the files are 32-bit; no file may pass 2 GiB. A write
// that would take a file past it ends the build with a clear error in the
// log instead of wrapping offsets. Every write is checked: a failure shows
// the platform's text for the error and raises UserException, and the
// database counts as failed from then on (no further write is tried).
// One writer builds the files; readers (scan_database_reader.h) open them
// afterwards, each on its own handles.

#include <cstdint>
#include <filesystem>
#include <string>

#include "disk/host.h"
#include "ntfs/database_entry.h"
#include "ntfs/database_file.h"
#include "ntfs/entry_info.h"
#include "ntfs/folder_map.h"
#include "ntfs/tree_block.h"

namespace salvor {

inline constexpr char kEntryFileName[] = "NSE.VKT";
inline constexpr char kNameFileName[] = "NSN.VKT";
inline constexpr char kTreeFileName[] = "NST.VKT";
inline constexpr std::uint64_t kDatabaseFileLimit = 0x80000000;  // 2 GiB
// The tree file's pages kept in memory: 4 MiB hold the children lists of
// about a million entries, and bound what a bigger volume costs.
inline constexpr std::size_t kTreePageSize = 64 * 1024;
inline constexpr std::size_t kTreePages = 64;
// The readers' pages of the entry and name files: children of one folder
// lie anywhere in them, so a reader keeps up to 16 MiB of each (the whole
// of a volume of about 350,000 entries) in 4 KiB pages.
inline constexpr std::size_t kReaderPageSize = 4096;
inline constexpr std::size_t kReaderPages = 4096;

// Entry 0 "#" lists the volume's root and the lost folders; entry 1 " Root"
// is the volume's root folder, MFT record 5, with its list at block 128.
inline constexpr std::uint32_t kTopEntry = 0;
inline constexpr std::uint32_t kRootEntry = 1;
inline constexpr std::uint32_t kRootRecord = 5;
inline constexpr std::uint32_t kRootBlock = 128;

// The database's handles and writer state, held by whoever runs a scan.
struct ScanDatabaseWriter {
  explicit ScanDatabaseWriter(Host& h) : host(&h) {}
  ~ScanDatabaseWriter();
  ScanDatabaseWriter(const ScanDatabaseWriter&) = delete;
  ScanDatabaseWriter& operator=(const ScanDatabaseWriter&) = delete;

  Host* host;
  std::filesystem::path folder;
  DatabaseFile entries;  // NSE.VKT
  DatabaseFile names;    // NSN.VKT
  DatabaseFile tree;     // NST.VKT

  std::uint32_t name_offset = 0;    // next free byte of the name file
  std::uint32_t last_block = 0;     // most recently allocated tree block
  std::uint32_t current_block = 0;  // tree block held in `block`
  TreeBlock block;                  // the one block buffer
  FolderMap folders;                // folders met so far, by record number

  // No file may grow past this many bytes (lowered by tests).
  std::uint64_t file_limit = kDatabaseFileLimit;
  // Set by the first failed write or limit; the text says what happened.
  bool failed = false;
  std::string error;

  bool is_open() const { return entries.is_open() && names.is_open() && tree.is_open(); }
  std::uint32_t entry_count() const {
    return static_cast<std::uint32_t>(entries.size() / kEntryRecordSize);
  }
};

// Creates (or truncates) the three files in `folder`, writes the fixed
// content (entries 0 and 1, blocks 0 and 128) and seeds the folder map with
// record 0 -> entry 0, block 0 and record 5 -> entry 1, block 128. False when
// a file cannot be created or written (db.error says why; all are closed).
bool CreateDatabase(ScanDatabaseWriter& db, const std::filesystem::path& folder);
// Writes what is pending, frees the folder map, closes the files and resets
// the writer state. False when a pending write failed (the error is shown).
bool CloseDatabase(ScanDatabaseWriter& db);

// Appends the entry record and its name (name_length units): the record's
// name offset becomes the name file's current offset, which then grows by
// 2 * name_length. Entries are appended in entry-number order.
void AppendEntry(ScanDatabaseWriter& db, EntryInfo& entry);
// Gives a folder its first tree block: the buffer is written, a block is
// allocated behind the last one and the buffer starts it, owned by the
// folder's record number (it reaches the disk with the next WriteBlock).
void NewChildList(ScanDatabaseWriter& db, FolderNode& folder);
// Appends entry number `n` to the folder's children list, opening a new block
// behind the last one when its 30 slots are full.
void AddChild(ScanDatabaseWriter& db, const FolderNode& folder, std::uint32_t n);
// The block buffer from / to the tree file at the current block offset.
void ReadBlock(ScanDatabaseWriter& db);
void WriteBlock(ScanDatabaseWriter& db);
// WriteBlock, then every appended byte to disk.
void FlushDatabase(ScanDatabaseWriter& db);

}  // namespace salvor
