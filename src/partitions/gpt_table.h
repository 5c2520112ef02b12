#pragma once
// The GUID partition table behind a protective MBR: header and entry array,
// checked by their CRC-32s, the backup at the disk's end standing in for a
// damaged primary.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "disk/sector_source.h"

namespace salvor {

// MBR type byte of the one partition that covers a GPT disk.
inline constexpr std::uint8_t kProtectiveMbrType = 0xEE;

struct GptHeader {
  std::uint64_t current_lba = 0;
  std::uint64_t entries_lba = 0;
  std::uint32_t entry_count = 0;
  std::uint32_t entry_size = 0;
  std::uint32_t entries_crc = 0;
};

struct GptEntry {
  std::uint64_t first_lba = 0;
  std::uint64_t last_lba = 0;
};

enum class GptCopy { kNone, kPrimary, kBackup };

struct GptTable {
  GptCopy copy = GptCopy::kNone;  // which header and entries were used
  std::vector<GptEntry> entries;  // used entries, in table order
};

// Entry arrays larger than this are not believed (the usual array is 16 KiB).
inline constexpr std::size_t kMaxGptEntryBytes = 4u << 20;

// The header of one sector read at `lba`: signature, size, CRC and its own
// LBA checked, entry geometry bounded. nullopt for anything else.
std::optional<GptHeader> ParseGptHeader(std::span<const std::uint8_t> sector, std::uint64_t lba);

// The used entries (type GUID not zero, first <= last) of an entry array, in
// order. The array's CRC is the caller's to check.
std::vector<GptEntry> ParseGptEntries(std::span<const std::uint8_t> array, const GptHeader& header);

// Reads the primary header at LBA 1 and its entries; when either fails its
// checks, the backup header at the last sector and its entries.
GptTable ReadGptTable(SectorSource& source);

}  // namespace salvor
