#include "ntfs/turbo_scan.h"

#include <algorithm>
#include <vector>

#include "disk/byte_reader.h"
#include "ntfs/dos_date.h"
#include "ntfs/file_name_attribute.h"
#include "ntfs/file_record.h"
#include "ntfs/index_record.h"
#include "ntfs/index_root.h"
#include "ntfs/record_entry_store.h"
#include "ntfs/record_parser.h"

namespace salvor {
namespace {

// Index entry fields (offsets from the entry start).
constexpr std::size_t kEntryFileReference = 0x00;  // u64
constexpr std::size_t kEntryLength = 0x08;         // u16
constexpr std::size_t kEntryFlags = 0x0C;          // u8 of the u32 flags
constexpr std::uint16_t kEndEntryLength = 16;
constexpr std::uint8_t kLastEntryFlag = 2;
constexpr std::uint16_t kShortestNameEntry = 67;  // header + key with a one-unit name
constexpr std::uint32_t kDirectoryNameFlag = 0x10000000;

bool IsDot(const FileNameValue& key) {
  return key.name.size() == 2 && key.name[0] == '.' && key.name[1] == 0;
}

}  // namespace

void TakeFoldersFromIndexBlock(ScanDatabaseWriter& db, std::span<const std::uint8_t> block,
                               std::uint32_t& counter) {
  const ByteReader r(block);
  const auto first = r.U32(index_record::kEntriesOffset);
  const auto used = r.U32(index_record::kIndexLength);
  if (!first || !used) return;
  const std::size_t end = std::min<std::size_t>(index_record::kNodeHeader + std::size_t{*used},
                                                block.size());
  std::size_t at = index_record::kNodeHeader + std::size_t{*first};

  while (at < end) {
    const auto length = r.U16(at + kEntryLength);
    const auto flags = r.U8(at + kEntryFlags);
    if (!length || !flags || *length == kEndEntryLength || *flags == kLastEntryFlag ||
        *length < kShortestNameEntry || !r.Has(at, *length) || at + *length > end)
      return;
    const ByteReader key_bytes = *r.Sub(at + index_root::kEntryKey, *length - index_root::kEntryKey);
    const auto key = ReadFileNameValue(key_bytes);
    const std::uint32_t attributes = key_bytes.U32(file_name::kFileAttributes).value_or(0);
    const auto own = static_cast<std::uint32_t>(*r.U64(at + kEntryFileReference));
    if (key && (attributes & kDirectoryNameFlag) && key->name_space != file_name::kDosNamespace &&
        own != key->parent && !IsDot(*key)) {
      EntryInfo entry;
      entry.own_record = own;
      entry.parent_record = key->parent;
      entry.SetName(key->name);
      entry.creation_date =
          DosDateFromNtfsTime(key_bytes.U64(file_name::kCreationTime).value_or(0));
      entry.access_date = DosDateFromNtfsTime(key_bytes.U64(file_name::kAccessTime).value_or(0));
      entry.flags =
          static_cast<std::uint16_t>((attributes & 0xFFFF) | kEntryFolder | kEntryPresent);
      entry.entry_number = counter;
      entry.name_offset = db.name_offset;
      AddFolderEntry(db, entry, counter);
    }
    at += *length;
  }
}

namespace {

class TurboWalk {
 public:
  TurboWalk(EngineState& state, ScanDatabaseWriter& db) : state_(state), db_(db) {}

  // One file-record slot at `sector`.
  void TakeRecord(std::span<std::uint8_t> record, std::uint64_t sector) {
    if (BaseRecordReference(record) != 0 || !CheckFileRecord(record)) return;
    EntryInfo entry;
    if (!ParseFileRecord(state_, record, entry)) return;
    const bool folder = (FileRecordFlags(record) & file_record::kFlagDirectory) != 0;
    if (UpdateSequenceOffset(record) == file_record::kNewHeader) {
      entry.own_record = HeaderRecordNumber(record);
      running_record_ = entry.own_record;
    } else if (folder && entry.own_record != 0) {
      running_record_ = entry.own_record;
    } else if (entry.own_record == 0) {
      entry.own_record = running_record_;
    }
    entry.record_sector = sector;
    StoreRecordEntry(db_, entry, folder, counter_);
  }

  void TakeIndexBlock(std::span<const std::uint8_t> block) {
    TakeFoldersFromIndexBlock(db_, block, counter_);
    running_record_ = 0;
  }

  void NextSlot() { ++running_record_; }
  std::uint32_t& counter() { return counter_; }

 private:
  EngineState& state_;
  ScanDatabaseWriter& db_;
  std::uint32_t counter_ = 2;
  std::uint32_t running_record_ = 1;
};

bool StartsWithIndx(std::span<const std::uint8_t> b) {
  return b.size() >= 4 && b[0] == 'I' && b[1] == 'N' && b[2] == 'D' && b[3] == 'X';
}

}  // namespace

bool TurboScanVolume(EngineState& state, ScanDatabaseWriter& db, std::size_t read_bytes) {
  const CurrentVolume& v = state.volume;
  const std::size_t bps = v.bytes_per_sector;
  const std::size_t step_bytes = v.bytes_per_index_record;
  const std::size_t record_bytes = v.bytes_per_file_record;
  if (bps == 0 || step_bytes == 0 || record_bytes == 0 || step_bytes % bps != 0 ||
      record_bytes % bps != 0 || !db.is_open())
    return false;
  const std::uint64_t step_sectors = step_bytes / bps;
  const std::uint64_t record_sectors = record_bytes / bps;
  const std::size_t slots = step_bytes / record_bytes;

  // One read per step would cost a system call per few KiB: steps are read
  // many at a time and then taken one by one.
  const std::size_t steps_per_read = std::max<std::size_t>(1, read_bytes / step_bytes);
  std::vector<std::uint8_t> buffer(steps_per_read * step_bytes);
  TurboWalk walk(state, db);
  // A damaged table or boot sector may claim a volume far larger than the
  // source: past the source's end there is nothing to read, only time to lose.
  std::uint64_t end = v.length > UINT64_MAX - v.first_sector ? UINT64_MAX : v.first_sector + v.length;
  if (state.source.total_sectors() != 0) end = std::min(end, state.source.total_sectors());
  const std::uint64_t total = end > v.first_sector ? end - v.first_sector : 0;
  std::uint64_t sector = v.first_sector;
  try {
    while (sector < end && state.run().IsRunning()) {
      const std::uint64_t steps_left = (end - sector + step_sectors - 1) / step_sectors;
      const auto steps = static_cast<std::size_t>(std::min<std::uint64_t>(steps_per_read, steps_left));
      const std::span<std::uint8_t> chunk = std::span(buffer).first(steps * step_bytes);
      // A bad sector comes back as zeros; only a read reaching the source's
      // end (or a source of unknown size) can leave old bytes in the buffer.
      if (state.source.total_sectors() == 0 || sector + steps * step_sectors >= end)
        std::fill(chunk.begin(), chunk.end(), std::uint8_t{0});
      try {
        state.source.ReadSectors(chunk, sector);
      } catch (const UserException&) {
        break;  // shown to the user; the scan ends with what it found
      }
      for (std::size_t i = 0; i < steps && state.run().IsRunning(); ++i) {
        state.host().Progress(sector - v.first_sector, total);
        const std::span<std::uint8_t> step = chunk.subspan(i * step_bytes, step_bytes);
        if (StartsWithIndx(step) && CheckIndexRecord(step)) {
          walk.TakeIndexBlock(step);
        } else {
          for (std::size_t k = 0; k < slots; ++k) {
            walk.TakeRecord(step.subspan(k * record_bytes, record_bytes),
                            sector + k * record_sectors);
            walk.NextSlot();
          }
        }
        sector += step_sectors;
      }
    }
  } catch (const std::exception&) {
    // A failed database write, already reported: keep what was written.
  }
  const bool completed = state.run().IsRunning();
  if (!db.failed) {
    try {
      AddLostFolders(db, walk.counter());
    } catch (const std::exception&) {
    }
  }
  return completed && !db.failed;
}

}  // namespace salvor
