#include "partitions/source_bytes.h"

namespace salvor {

std::vector<std::uint8_t> ReadBytesAt(SectorSource& source, std::uint64_t sector, std::size_t bytes) {
  const std::size_t bps = source.bytes_per_sector() ? source.bytes_per_sector() : 512;
  std::vector<std::uint8_t> buffer((bytes + bps - 1) / bps * bps, 0);
  source.ReadSectors(buffer, sector);
  buffer.resize(bytes);
  return buffer;
}

}  // namespace salvor
