#include "ntfs/scan_database.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "disk/block_device.h"
#include "disk/sector_source.h"
#include "disk/texts.h"

namespace salvor {
namespace {

// A failed write: shown once with the platform's text for the code, then
// the database counts as failed and the builder's loop ends.
[[noreturn]] void FailWrite(ScanDatabaseWriter& db, const char* file, int code) {
  if (!db.failed) {
    db.failed = true;
    db.error = Format(text::kScanDatabaseWriteFailed, file, ErrorText(code).c_str());
    db.host->ShowError(ErrorText(code));
  }
  throw UserException(db.error);
}

// A file would pass its 32-bit offsets' limit: said in the log, not wrapped.
[[noreturn]] void FailLimit(ScanDatabaseWriter& db, const char* file) {
  if (!db.failed) {
    db.failed = true;
    db.error =
        Format(text::kScanDatabaseFullDetail, file, static_cast<unsigned long long>(db.file_limit));
    db.host->AddLogEntry({std::string(text::kScanDatabaseFull), db.error, "", LogKind::kFailure});
  }
  throw UserException(db.error);
}

[[noreturn]] void FailRead(ScanDatabaseWriter& db, int code) {
  db.host->ShowError(ErrorText(code));
  throw UserException(ErrorText(code));
}

void RequireWritable(ScanDatabaseWriter& db) {
  if (db.failed) throw UserException(db.error);
  if (!db.is_open() || !db.tree.writable()) {
    db.failed = true;
    db.error = text::kScanDatabaseNotWritable;
    throw UserException(db.error);
  }
}

// Room for `more` bytes behind `end` in a file?
void RequireRoom(ScanDatabaseWriter& db, const char* file, std::uint64_t end, std::uint64_t more) {
  if (end + more > db.file_limit) FailLimit(db, file);
}

void AppendFixedEntry(ScanDatabaseWriter& db, std::uint32_t number, std::uint32_t own,
                      std::uint32_t child_block, std::u16string_view name) {
  EntryInfo e;
  e.entry_number = number;
  e.own_record = own;
  e.child_block = child_block;
  e.flags = kEntryPresent | kEntryFolder;
  std::copy(name.begin(), name.end(), e.name.begin());
  e.name_length = static_cast<std::uint16_t>(name.size());
  AppendEntry(db, e);
}

void ResetWriterState(ScanDatabaseWriter& db) {
  db.folders.clear();
  db.name_offset = 0;
  db.last_block = 0;
  db.current_block = 0;
  db.block.Clear();
}

}  // namespace

ScanDatabaseWriter::~ScanDatabaseWriter() {
  entries.Close();
  names.Close();
  tree.Close();
}

bool CreateDatabase(ScanDatabaseWriter& db, const std::filesystem::path& folder) {
  CloseDatabase(db);
  db.failed = false;
  db.error.clear();
  db.folder = folder;
  struct {
    DatabaseFile* file;
    const char* name;
  } files[] = {
      {&db.tree, kTreeFileName}, {&db.names, kNameFileName}, {&db.entries, kEntryFileName}};
  for (auto& f : files) {
    if (int e = f.file->Create(folder / f.name)) {
      db.error =
          Format(text::kScanDatabaseCreateFailed, (folder / f.name).c_str(), ErrorText(e).c_str());
      db.entries.Close();
      db.names.Close();
      db.tree.Close();
      return false;
    }
  }
  db.tree.UsePageCache(kTreePageSize, kTreePages);
  try {
    db.folders[0] = FolderNode{kTopEntry, 0, 0, false};
    db.folders[kRootRecord] = FolderNode{kRootEntry, kRootRecord, kRootBlock, false};

    AppendFixedEntry(db, kTopEntry, 0, 0, u"#");
    db.block.Clear();
    db.block.children[0] = kRootEntry;
    db.current_block = 0;
    WriteBlock(db);
    db.last_block = kRootBlock;

    AppendFixedEntry(db, kRootEntry, kRootRecord, kRootBlock, u" Root");
    db.block.Clear();
    db.block.owner = kRootRecord;
    db.current_block = kRootBlock;
    WriteBlock(db);
  } catch (const UserException&) {
    std::string why = db.error;
    CloseDatabase(db);
    db.failed = true;
    db.error = why;
    return false;
  }
  return true;
}

bool CloseDatabase(ScanDatabaseWriter& db) {
  bool ok = true;
  struct {
    DatabaseFile* file;
    const char* name;
  } files[] = {
      {&db.entries, kEntryFileName}, {&db.names, kNameFileName}, {&db.tree, kTreeFileName}};
  for (auto& f : files) {
    if (int e = f.file->Close()) {
      if (!db.failed) {
        db.failed = true;
        db.error = Format(text::kScanDatabaseWriteFailed, f.name, ErrorText(e).c_str());
        db.host->ShowError(ErrorText(e));
      }
      ok = false;
    }
  }
  ResetWriterState(db);
  return ok;
}

void AppendEntry(ScanDatabaseWriter& db, EntryInfo& entry) {
  RequireWritable(db);
  const std::uint16_t units =
      static_cast<std::uint16_t>(std::min<std::size_t>(entry.name_length, entry.name.size()));
  RequireRoom(db, kEntryFileName, db.entries.size(), kEntryRecordSize);
  RequireRoom(db, kNameFileName, db.name_offset, 2u * units);
  entry.name_length = units;
  entry.name_offset = db.name_offset;
  const auto record = StoreEntryRecord(entry);
  if (int e = db.entries.Append(record)) FailWrite(db, kEntryFileName, e);
  std::array<std::uint8_t, 2 * kEntryNameCapacity> name;
  for (std::size_t i = 0; i < units; ++i) {
    name[2 * i] = static_cast<std::uint8_t>(entry.name[i]);
    name[2 * i + 1] = static_cast<std::uint8_t>(entry.name[i] >> 8);
  }
  if (int e = db.names.Append(std::span<const std::uint8_t>(name.data(), 2u * units)))
    FailWrite(db, kNameFileName, e);
  db.name_offset += 2u * units;
}

void ReadBlock(ScanDatabaseWriter& db) {
  if (db.failed && db.tree.writable()) throw UserException(db.error);
  std::array<std::uint8_t, kTreeBlockSize> bytes{};
  std::size_t got = 0;
  if (int e = db.tree.ReadAt(bytes, db.current_block, got)) FailRead(db, e);
  if (got < bytes.size()) {
    // Past the end of the file: what the buffer held stays, as after a short read.
    auto stored = StoreTreeBlock(db.block);
    std::copy(stored.begin() + static_cast<std::ptrdiff_t>(got), stored.end(),
              bytes.begin() + static_cast<std::ptrdiff_t>(got));
  }
  db.block = LoadTreeBlock(bytes);
}

void WriteBlock(ScanDatabaseWriter& db) {
  RequireWritable(db);
  RequireRoom(db, kTreeFileName, db.current_block, kTreeBlockSize);
  if (int e = db.tree.WriteAt(StoreTreeBlock(db.block), db.current_block))
    FailWrite(db, kTreeFileName, e);
}

void FlushDatabase(ScanDatabaseWriter& db) {
  WriteBlock(db);
  if (int e = db.entries.Flush()) FailWrite(db, kEntryFileName, e);
  if (int e = db.names.Flush()) FailWrite(db, kNameFileName, e);
  if (int e = db.tree.Flush()) FailWrite(db, kTreeFileName, e);
}

void NewChildList(ScanDatabaseWriter& db, FolderNode& folder) {
  WriteBlock(db);
  RequireRoom(db, kTreeFileName, std::uint64_t{db.last_block} + kTreeBlockSize, kTreeBlockSize);
  db.last_block += kTreeBlockSize;
  folder.first_block = db.last_block;
  db.current_block = db.last_block;
  db.block.Clear();
  db.block.owner = folder.record;
}

void AddChild(ScanDatabaseWriter& db, const FolderNode& folder, std::uint32_t n) {
  RequireWritable(db);
  if (db.block.owner != folder.record) {
    WriteBlock(db);
    db.current_block = folder.first_block;
    ReadBlock(db);
    // The list's last block; a damaged chain cannot hold more blocks than the file.
    std::uint64_t hops = db.tree.size() / kTreeBlockSize + 1;
    while (db.block.next != 0 && hops-- > 0) {
      db.current_block = db.block.next;
      db.block.Clear();
      ReadBlock(db);
    }
  }
  for (std::uint32_t& slot : db.block.children) {
    if (slot == 0) {
      slot = n;
      return;
    }
  }
  RequireRoom(db, kTreeFileName, std::uint64_t{db.last_block} + kTreeBlockSize, kTreeBlockSize);
  db.last_block += kTreeBlockSize;
  db.block.next = db.last_block;
  WriteBlock(db);
  db.current_block = db.last_block;
  db.block.Clear();
  db.block.owner = folder.record;
  db.block.children[0] = n;
}

}  // namespace salvor
