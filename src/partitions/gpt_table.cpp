#include "partitions/gpt_table.h"

#include <cstring>

#include "disk/byte_reader.h"
#include "disk/crc32.h"

namespace salvor {
namespace {

// Header fields.
constexpr std::size_t kSignature = 0;
constexpr std::size_t kHeaderSize = 12;    // u32
constexpr std::size_t kHeaderCrc = 16;     // u32, computed with itself zeroed
constexpr std::size_t kCurrentLba = 24;    // u64
constexpr std::size_t kEntriesLba = 72;    // u64
constexpr std::size_t kEntryCount = 80;    // u32
constexpr std::size_t kEntrySize = 84;     // u32
constexpr std::size_t kEntriesCrc = 88;    // u32
constexpr std::size_t kMinHeaderSize = 92;

// Entry fields.
constexpr std::size_t kTypeGuid = 0;  // 16 bytes, all zero for an unused entry
constexpr std::size_t kFirstLba = 32;
constexpr std::size_t kLastLba = 40;
constexpr std::size_t kMinEntrySize = 128;

std::optional<GptTable> ReadCopy(SectorSource& source, std::uint64_t header_lba) {
  const std::size_t sector_size = std::max<std::size_t>(source.bytes_per_sector(), 512);
  std::vector<std::uint8_t> sector(sector_size, 0);
  source.ReadSectors(sector, header_lba);
  auto header = ParseGptHeader(sector, header_lba);
  if (!header) return std::nullopt;

  const std::size_t array_bytes = std::size_t{header->entry_count} * header->entry_size;
  const std::uint64_t array_sectors = (array_bytes + sector_size - 1) / sector_size;
  if (header->entries_lba >= source.total_sectors() ||
      array_sectors > source.total_sectors() - header->entries_lba)
    return std::nullopt;
  std::vector<std::uint8_t> array(array_sectors * sector_size, 0);
  source.ReadSectors(array, header->entries_lba);
  std::span<const std::uint8_t> used(array.data(), array_bytes);
  if (Crc32(used) != header->entries_crc) return std::nullopt;
  return GptTable{GptCopy::kNone, ParseGptEntries(used, *header)};
}

}  // namespace

std::optional<GptHeader> ParseGptHeader(std::span<const std::uint8_t> sector, std::uint64_t lba) {
  ByteReader r(sector);
  auto signature = r.Slice(kSignature, 8);
  if (!signature || std::memcmp(signature->data(), "EFI PART", 8) != 0) return std::nullopt;
  auto size = r.U32(kHeaderSize);
  if (!size || *size < kMinHeaderSize || !r.Has(0, *size)) return std::nullopt;

  std::vector<std::uint8_t> copy(sector.begin(), sector.begin() + *size);
  std::memset(copy.data() + kHeaderCrc, 0, 4);
  if (Crc32(copy) != *r.U32(kHeaderCrc)) return std::nullopt;

  GptHeader h;
  h.current_lba = *r.U64(kCurrentLba);
  h.entries_lba = *r.U64(kEntriesLba);
  h.entry_count = *r.U32(kEntryCount);
  h.entry_size = *r.U32(kEntrySize);
  h.entries_crc = *r.U32(kEntriesCrc);
  if (h.current_lba != lba) return std::nullopt;
  if (h.entry_size < kMinEntrySize || h.entry_size % 8 != 0) return std::nullopt;
  if (std::uint64_t{h.entry_count} * h.entry_size > kMaxGptEntryBytes) return std::nullopt;
  return h;
}

std::vector<GptEntry> ParseGptEntries(std::span<const std::uint8_t> array, const GptHeader& header) {
  std::vector<GptEntry> entries;
  ByteReader r(array);
  for (std::uint32_t i = 0; i < header.entry_count; ++i) {
    auto entry = r.Sub(std::size_t{i} * header.entry_size, header.entry_size);
    if (!entry || entry->size() < kMinEntrySize) break;
    auto type = entry->Slice(kTypeGuid, 16);
    bool unused = true;
    for (std::uint8_t b : *type) unused = unused && b == 0;
    if (unused) continue;
    GptEntry e{*entry->U64(kFirstLba), *entry->U64(kLastLba)};
    if (e.first_lba <= e.last_lba) entries.push_back(e);
  }
  return entries;
}

GptTable ReadGptTable(SectorSource& source) {
  if (source.total_sectors() < 2) return {};
  if (auto primary = ReadCopy(source, 1)) {
    primary->copy = GptCopy::kPrimary;
    return *primary;
  }
  // The primary header's backup LBA may be unreadable with the primary
  // itself; the backup always sits in the disk's last sector.
  if (auto backup = ReadCopy(source, source.total_sectors() - 1)) {
    backup->copy = GptCopy::kBackup;
    return *backup;
  }
  return {};
}

}  // namespace salvor
