#pragma once
// Builds NTFS boot sectors and partition table sectors for tests.

#include <cstdint>
#include <vector>

namespace salvor::testing {

struct BootSectorFields {
  std::uint16_t bytes_per_sector = 512;
  std::uint8_t sectors_per_cluster = 8;
  std::uint64_t total_sectors = 20479;
  std::uint64_t mft_lcn = 4;
  std::uint64_t mftmirr_lcn = 1279;
  std::uint8_t clusters_per_file_record = 0xF6;
  std::uint8_t clusters_per_index_record = 1;
  std::uint64_t serial = 0x1122334455667788ull;
};

std::vector<std::uint8_t> MakeBootSector(const BootSectorFields& f = {});

struct PartitionEntry {
  std::uint8_t type = 0;
  std::uint32_t first = 0;  // relative, as stored
  std::uint32_t count = 0;
};

// A 512-byte table sector with up to four entries and the 0x55 0xAA mark.
std::vector<std::uint8_t> MakeTableSector(const std::vector<PartitionEntry>& entries);

// Copies `sector` into `disk` at a sector address (512-byte sectors), growing it.
void PutSector(std::vector<std::uint8_t>& disk, std::uint64_t at,
               const std::vector<std::uint8_t>& sector);

}  // namespace salvor::testing
