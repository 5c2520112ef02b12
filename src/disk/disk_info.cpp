#include "disk/disk_info.h"

#include "disk/byte_reader.h"
#include "disk/byte_writer.h"

namespace salvor {

std::vector<std::uint8_t> StoreDiskInfo(const DiskInfo& info) {
  ByteWriter w;
  w.Utf16Field(info.device_path, kDevicePathUnits);
  w.U32(info.handle);
  w.U16(info.bytes_per_sector);
  w.U64(info.total_sectors);
  w.Zeros(8);  // not used
  w.U32(0);    // partitions found (a pointer in memory)
  w.U32(0);    // partitions tail
  return w.Take();
}

std::optional<DiskInfo> LoadDiskInfo(std::span<const std::uint8_t> bytes) {
  ByteReader r(bytes);
  if (!r.Has(0, kDiskInfoStoredSize)) return std::nullopt;
  DiskInfo info;
  for (std::size_t i = 0; i < kDevicePathUnits; ++i) {
    char16_t c = static_cast<char16_t>(*r.U16(i * 2));
    if (c == 0) break;
    info.device_path.push_back(c);
  }
  info.handle = *r.U32(512);
  info.bytes_per_sector = *r.U16(516);
  info.total_sectors = *r.U64(518);
  return info;
}

}  // namespace salvor
