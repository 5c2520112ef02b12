#include "partitions/partition_table.h"

#include <unordered_set>
#include <vector>

#include "disk/byte_reader.h"
#include "disk/texts.h"
#include "ntfs/boot_sector.h"
#include "partitions/gpt_table.h"

namespace salvor {
namespace {

constexpr std::size_t kTableOffset = 0x1BE;
constexpr std::size_t kEntrySize = 16;

// NTFS, and the two hidden NTFS types that recovery and OEM partitions use.
bool IsNtfsType(std::uint8_t type) { return type == 0x07 || type == 0x17 || type == 0x27; }

bool IsExtended(std::uint8_t type) { return type == 0x05 || type == 0x0F || type == 0x85; }

void AddNtfsPartition(EngineState& state, std::uint64_t first_sector, std::uint64_t length) {
  std::vector<std::uint8_t> boot(std::max<std::size_t>(state.source.bytes_per_sector(), 512), 0);
  state.source.ReadSectors(boot, first_sector);
  if (!IsNtfsBootSector(boot)) return;
  state.partitions.push_back(VolumeFromBootSector(boot, first_sector, length,
                                                  state.source.bytes_per_sector(),
                                                  GeometryOrigin::kPartitionTable));
}

bool HasProtectivePartition(const ByteReader& mbr) {
  for (std::size_t i = 0; i < 4; ++i)
    if (*mbr.U8(kTableOffset + i * kEntrySize + 4) == kProtectiveMbrType) return true;
  return false;
}

PartitionScheme ReadGptPartitions(EngineState& state) {
  GptTable gpt = ReadGptTable(state.source);
  if (gpt.copy == GptCopy::kNone) {
    state.host().AddLogEntry({std::string(text::kGptUnreadable),
                              std::string(text::kGptUnreadableDetail), {}, LogKind::kFailure});
    return PartitionScheme::kGptUnreadable;
  }
  if (gpt.copy == GptCopy::kBackup)
    state.host().AddLogEntry({std::string(text::kGptBackupUsed),
                              std::string(text::kGptBackupUsedDetail), {}, LogKind::kFailure});
  for (const GptEntry& e : gpt.entries)
    AddNtfsPartition(state, e.first_lba, e.last_lba - e.first_lba + 1);
  return gpt.copy == GptCopy::kPrimary ? PartitionScheme::kGptPrimary : PartitionScheme::kGptBackup;
}

}  // namespace

bool ReadPartitionTable(EngineState& state, PartitionScheme* scheme) {
  state.partitions.clear();
  if (scheme) *scheme = PartitionScheme::kMbr;
  std::uint64_t table_sector = 0;
  std::uint64_t extended_base = 0;
  std::unordered_set<std::uint64_t> seen;

  while (seen.size() < kMaxPartitionTables && seen.insert(table_sector).second) {
    std::vector<std::uint8_t> table(std::max<std::size_t>(state.source.bytes_per_sector(), 512), 0);
    state.source.ReadSectors(table, table_sector);
    ByteReader r(table);
    if (*r.U8(510) != 0x55 || *r.U8(511) != 0xAA) break;
    if (table_sector == 0 && HasProtectivePartition(r)) {
      PartitionScheme gpt = ReadGptPartitions(state);
      if (scheme) *scheme = gpt;
      if (gpt != PartitionScheme::kGptUnreadable) return !state.partitions.empty();
    }
    if (*r.U8(kTableOffset + 4) == 0) break;

    std::uint64_t next_table = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      std::size_t entry = kTableOffset + i * kEntrySize;
      std::uint8_t type = *r.U8(entry + 4);
      std::uint32_t start = *r.U32(entry + 8);
      std::uint32_t count = *r.U32(entry + 12);
      if (IsNtfsType(type)) {
        AddNtfsPartition(state, table_sector + start, count);
      } else if (IsExtended(type)) {
        next_table = extended_base + start;
      }
    }
    if (extended_base == 0) extended_base = next_table;
    if (next_table == 0) break;
    table_sector = next_table;
  }
  return !state.partitions.empty();
}

}  // namespace salvor
