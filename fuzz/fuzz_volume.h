#pragma once
// The volume geometry the NTFS fuzz targets share: 512-byte sectors, 4096-byte
// clusters and index buffers, file records of a chosen size.

#include <cstdint>

#include "ntfs/volume_info.h"

namespace salvor::fuzz {

inline void UseFuzzGeometry(CurrentVolume& v, std::uint32_t record_size) {
  v.bytes_per_sector = 512;
  v.sectors_per_cluster = 8;
  v.bytes_per_cluster = 4096;
  v.bytes_per_file_record = record_size;
  v.sectors_per_file_record = static_cast<std::uint8_t>(record_size / 512);
  v.bytes_per_index_record = 4096;
  v.sectors_per_index_record = 8;
}

}  // namespace salvor::fuzz
