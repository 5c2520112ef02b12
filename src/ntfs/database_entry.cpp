#include "ntfs/database_entry.h"

#include <algorithm>

#include "disk/byte_reader.h"
#include "disk/byte_writer.h"

namespace salvor {

std::array<std::uint8_t, kEntryRecordSize> StoreEntryRecord(const EntryInfo& e) {
  ByteWriter w;
  w.U64(e.size);
  w.U64(e.record_sector);
  w.U32(e.entry_number);
  w.U32(e.own_record);
  w.U32(e.parent_record);
  w.U32(e.child_block);
  w.U32(e.name_offset);
  w.U16(e.name_length);
  w.U16(e.flags);
  w.U16(e.creation_date);
  w.U16(e.access_date);
  std::array<std::uint8_t, kEntryRecordSize> b{};
  std::copy_n(w.bytes().begin(), std::min(w.size(), b.size()), b.begin());
  return b;
}

EntryNode LoadEntryRecord(std::span<const std::uint8_t, kEntryRecordSize> b) {
  const std::uint8_t* p = b.data();
  EntryNode n;
  n.size = LoadU64(p + 0);
  n.record_sector = LoadU64(p + 8);
  n.entry_number = LoadU32(p + 16);
  n.own_record = LoadU32(p + 20);
  n.parent_record = LoadU32(p + 24);
  n.child_block = LoadU32(p + 28);
  n.name_offset = LoadU32(p + 32);
  n.name_length = LoadU16(p + 36);
  n.flags = LoadU16(p + 38);
  n.creation_date = LoadU16(p + 40);
  n.access_date = LoadU16(p + 42);
  return n;
}

}  // namespace salvor
