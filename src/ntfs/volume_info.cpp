#include "ntfs/volume_info.h"

#include "disk/byte_reader.h"
#include "disk/byte_writer.h"

namespace salvor {

std::uint32_t SectorsPerClusterFromByte(std::uint8_t byte) {
  if (byte <= 0x80) return byte;
  const unsigned shift = 0x100u - byte;
  // Past 2 MiB clusters of the smallest sectors nothing is a cluster.
  return shift <= 12 ? std::uint32_t{1} << shift : 0;
}

std::uint8_t SectorsPerClusterByte(std::uint32_t sectors) {
  if (sectors <= 0x80) return static_cast<std::uint8_t>(sectors);
  if ((sectors & (sectors - 1)) != 0) return 0;
  unsigned shift = 0;
  while ((std::uint32_t{1} << shift) != sectors) ++shift;
  return static_cast<std::uint8_t>(0x100u - shift);
}

std::vector<std::uint8_t> StoreVolumeInfo(const VolumeInfo& v) {
  ByteWriter w;
  w.U64(v.search_position);
  w.U64(v.first_sector);
  w.U64(v.length);
  w.U64(v.mft_sector);
  w.U64(v.mft_lcn);
  w.U64(v.mftmirr_lcn);
  w.U64(v.serial);
  w.U32(v.bytes_per_index_record);
  w.U32(v.bytes_per_cluster);
  w.U16(v.bytes_per_file_record);
  w.U16(v.bytes_per_sector);
  w.U8(SectorsPerClusterByte(v.sectors_per_cluster));
  w.U8(v.sectors_per_file_record);
  w.U8(v.sectors_per_index_record);
  w.U8(v.origin_flags);
  w.U32(0);  // next (a pointer in memory)
  return w.Take();
}

std::optional<VolumeInfo> LoadVolumeInfo(std::span<const std::uint8_t> bytes) {
  ByteReader r(bytes);
  if (!r.Has(0, kVolumeInfoStoredSize)) return std::nullopt;
  VolumeInfo v;
  v.search_position = *r.U64(0);
  v.first_sector = *r.U64(8);
  v.length = *r.U64(16);
  v.mft_sector = *r.U64(24);
  v.mft_lcn = *r.U64(32);
  v.mftmirr_lcn = *r.U64(40);
  v.serial = *r.U64(48);
  v.bytes_per_index_record = *r.U32(56);
  v.bytes_per_cluster = *r.U32(60);
  v.bytes_per_file_record = *r.U16(64);
  v.bytes_per_sector = *r.U16(66);
  v.sectors_per_cluster = SectorsPerClusterFromByte(*r.U8(68));
  v.sectors_per_file_record = *r.U8(69);
  v.sectors_per_index_record = *r.U8(70);
  v.origin_flags = *r.U8(71);
  return v;
}

std::vector<std::uint8_t> StoreCurrentVolume(const CurrentVolume& v) {
  ByteWriter w;
  w.U64(v.length);
  w.U64(v.mft_sector);
  w.U64(v.mft_lcn);
  w.U64(v.mftmirr_lcn);
  w.U64(v.serial);
  w.U64(v.first_sector);
  w.U32(0);  // $MFT run list (a pointer in memory)
  w.U32(v.mft_record_count);
  w.U32(v.bytes_per_file_record);
  w.U32(v.bytes_per_index_record);
  w.U32(v.bytes_per_cluster);
  w.U16(v.bytes_per_sector);
  w.U8(v.sectors_per_file_record);
  w.U8(v.sectors_per_index_record);
  w.U8(SectorsPerClusterByte(v.sectors_per_cluster));
  w.U8(v.turbo_scan_mark);
  return w.Take();
}

std::optional<CurrentVolume> LoadCurrentVolume(std::span<const std::uint8_t> bytes) {
  ByteReader r(bytes);
  if (!r.Has(0, kCurrentVolumeStoredSize)) return std::nullopt;
  CurrentVolume v;
  v.length = *r.U64(0);
  v.mft_sector = *r.U64(8);
  v.mft_lcn = *r.U64(16);
  v.mftmirr_lcn = *r.U64(24);
  v.serial = *r.U64(32);
  v.first_sector = *r.U64(40);
  v.mft_record_count = *r.U32(52);
  v.bytes_per_file_record = *r.U32(56);
  v.bytes_per_index_record = *r.U32(60);
  v.bytes_per_cluster = *r.U32(64);
  v.bytes_per_sector = *r.U16(68);
  v.sectors_per_file_record = *r.U8(70);
  v.sectors_per_index_record = *r.U8(71);
  v.sectors_per_cluster = SectorsPerClusterFromByte(*r.U8(72));
  v.turbo_scan_mark = *r.U8(73);
  return v;
}

CurrentVolume SelectVolume(const VolumeInfo& v, std::uint16_t source_bytes_per_sector) {
  CurrentVolume c;
  c.bytes_per_sector = v.bytes_per_sector ? v.bytes_per_sector : source_bytes_per_sector;
  c.sectors_per_file_record = v.sectors_per_file_record ? v.sectors_per_file_record : 2;
  c.bytes_per_file_record = v.bytes_per_file_record
                                ? v.bytes_per_file_record
                                : std::uint32_t{c.sectors_per_file_record} * c.bytes_per_sector;
  c.bytes_per_cluster =
      v.bytes_per_cluster
          ? v.bytes_per_cluster
          : (v.sectors_per_cluster ? v.sectors_per_cluster : 8u) * c.bytes_per_sector;
  c.sectors_per_index_record = v.sectors_per_index_record ? v.sectors_per_index_record : 8;
  c.bytes_per_index_record = v.bytes_per_index_record
                                 ? v.bytes_per_index_record
                                 : std::uint32_t{c.sectors_per_index_record} * c.bytes_per_sector;
  c.mft_sector = v.mft_sector;
  c.first_sector = v.first_sector;
  c.mft_lcn = v.mft_lcn;
  c.mftmirr_lcn = v.mftmirr_lcn;
  c.length = v.length;
  c.serial = v.serial;
  c.sectors_per_cluster = v.sectors_per_cluster;
  return c;
}

namespace {
bool SameShape(const VolumeInfo& a, const VolumeInfo& b) {
  return a.mft_lcn == b.mft_lcn && a.mftmirr_lcn == b.mftmirr_lcn &&
         a.bytes_per_cluster == b.bytes_per_cluster &&
         a.bytes_per_file_record == b.bytes_per_file_record;
}
}  // namespace

const VolumeInfo* FindSameVolume(std::span<const VolumeInfo> list, const VolumeInfo& v) {
  for (const VolumeInfo& listed : list)
    if (listed.serial == v.serial && SameShape(listed, v)) return &listed;
  return nullptr;
}

const VolumeInfo* FindSameVolumeNear(std::span<const VolumeInfo> list, const VolumeInfo& v) {
  for (const VolumeInfo& listed : list) {
    if (!SameShape(listed, v)) continue;
    std::uint64_t distance = v.first_sector - listed.first_sector;  // unsigned on purpose
    if (distance <= listed.sectors_per_cluster) return &listed;
  }
  return nullptr;
}

}  // namespace salvor
