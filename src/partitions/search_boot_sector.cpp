#include "partitions/search_boot_sector.h"

#include "disk/byte_reader.h"
#include "ntfs/boot_sector.h"
#include "ntfs/mft_first_record.h"
#include "partitions/found_volumes.h"
#include "partitions/source_bytes.h"

namespace salvor {
namespace {

using Wide = unsigned __int128;  // sector arithmetic on hostile fields must not wrap

bool FitsOnSource(const VolumeInfo& v, std::uint64_t source_total) {
  Wide mft = Wide{v.first_sector} + Wide{v.mft_lcn} * v.sectors_per_cluster;
  return v.length <= source_total && Wide{v.first_sector} + v.length <= source_total &&
         mft <= source_total;
}

bool MftRecordAt(SectorSource& source, const VolumeInfo& v, std::uint64_t first_sector) {
  Wide at = Wide{first_sector} + Wide{v.mft_lcn} * v.sectors_per_cluster;
  if (at >= source.total_sectors() || v.bytes_per_file_record == 0) return false;
  std::vector<std::uint8_t> record =
      ReadBytesAt(source, static_cast<std::uint64_t>(at), v.bytes_per_file_record);
  return IsMftRecord(record);
}

}  // namespace

std::optional<VolumeInfo> VolumeFromFoundBootSector(SectorSource& source,
                                                    std::span<const std::uint8_t> sector,
                                                    std::uint64_t position) {
  std::uint64_t total = ByteReader(sector).U64(boot::kTotalSectors).value_or(0);
  VolumeInfo v = VolumeFromBootSector(sector, position, total, source.bytes_per_sector(),
                                      GeometryOrigin::kSearch);
  v.origin_flags = kFoundFromBootSector;
  if (position >= total && !MftRecordAt(source, v, position) &&
      MftRecordAt(source, v, position - total)) {
    v.first_sector = position - total;
  }
  if (!FitsOnSource(v, source.total_sectors())) return std::nullopt;
  v.mft_sector = v.first_sector + v.mft_lcn * v.sectors_per_cluster;
  return v;
}

}  // namespace salvor
