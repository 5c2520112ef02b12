#include "support/boot_sector_builder.h"

#include <algorithm>

namespace salvor::testing {
namespace {
void Put(std::vector<std::uint8_t>& b, std::size_t at, std::uint64_t v, int width) {
  for (int i = 0; i < width; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
}  // namespace

std::vector<std::uint8_t> MakeBootSector(const BootSectorFields& f) {
  std::vector<std::uint8_t> b(512, 0);
  b[0] = 0xEB;
  b[1] = 0x52;
  b[2] = 0x90;
  std::copy_n("NTFS    ", 8, b.begin() + 3);
  Put(b, 0x0B, f.bytes_per_sector, 2);
  b[0x0D] = f.sectors_per_cluster;
  Put(b, 0x24, 0x0080, 2);
  Put(b, 0x28, f.total_sectors, 8);
  Put(b, 0x30, f.mft_lcn, 8);
  Put(b, 0x38, f.mftmirr_lcn, 8);
  b[0x40] = f.clusters_per_file_record;
  b[0x44] = f.clusters_per_index_record;
  Put(b, 0x48, f.serial, 8);
  b[510] = 0x55;
  b[511] = 0xAA;
  return b;
}

std::vector<std::uint8_t> MakeTableSector(const std::vector<PartitionEntry>& entries) {
  std::vector<std::uint8_t> b(512, 0);
  for (std::size_t i = 0; i < entries.size() && i < 4; ++i) {
    std::size_t at = 0x1BE + i * 16;
    b[at + 4] = entries[i].type;
    Put(b, at + 8, entries[i].first, 4);
    Put(b, at + 12, entries[i].count, 4);
  }
  b[510] = 0x55;
  b[511] = 0xAA;
  return b;
}

void PutSector(std::vector<std::uint8_t>& disk, std::uint64_t at,
               const std::vector<std::uint8_t>& sector) {
  std::size_t offset = static_cast<std::size_t>(at * 512);
  if (disk.size() < offset + sector.size()) disk.resize(offset + sector.size(), 0);
  std::copy(sector.begin(), sector.end(), disk.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace salvor::testing
