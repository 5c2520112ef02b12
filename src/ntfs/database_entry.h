#pragma once
// The 44-byte entry record of the scan database's entry file (NSE.VKT) and
// EntryNode, an entry as the readers get it back.
//
//   0 u64 size             16 u32 entry number   28 u32 child block
//   8 u64 record sector    20 u32 own record     32 u32 name offset
//                          24 u32 parent record  36 u16 name length (UTF-16 units)
//   38 u16 flags (file attributes | 0x08 present | 0x10 folder)
//   40 u16 creation date (DOS)   42 u16 last access date (DOS)

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "ntfs/entry_info.h"

namespace salvor {

inline constexpr std::size_t kEntryRecordSize = 44;

// An entry read back from the database. Its name is the whole stored name.
struct EntryNode {
  std::uint64_t record_sector = 0;
  std::uint64_t size = 0;
  std::uint32_t entry_number = 0;
  std::uint32_t own_record = 0;
  std::uint32_t parent_record = 0;
  std::uint32_t child_block = 0;
  std::uint32_t name_offset = 0;
  std::uint16_t creation_date = 0;
  std::uint16_t access_date = 0;
  std::uint16_t flags = 0;
  std::uint16_t name_length = 0;
  std::u16string name;

  bool folder() const { return (flags & kEntryFolder) != 0; }
  bool present() const { return (flags & kEntryPresent) != 0; }
  bool operator==(const EntryNode&) const = default;
};

// The stored form of an entry (every field but the name itself).
std::array<std::uint8_t, kEntryRecordSize> StoreEntryRecord(const EntryInfo& entry);
// Reads the stored form into a node without its name; `bytes` must hold 44 bytes.
EntryNode LoadEntryRecord(std::span<const std::uint8_t, kEntryRecordSize> bytes);

}  // namespace salvor
