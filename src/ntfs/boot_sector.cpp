#include "ntfs/boot_sector.h"

#include "disk/byte_reader.h"

namespace salvor {
namespace {

bool OneOrEven(std::uint8_t v) { return v != 0 && (v == 1 || v % 2 == 0); }

// Up to 0x80 the old rule (1 or even); above it a power of two of sectors
// that makes a cluster of at most 2 MiB (of 512-byte sectors when the boot
// sector leaves the size open).
bool PlausibleSectorsPerCluster(std::uint8_t byte, std::uint16_t bytes_per_sector) {
  if (byte <= 0x80) return OneOrEven(byte);
  const std::uint64_t sectors = SectorsPerClusterFromByte(byte);
  const std::uint64_t bps = bytes_per_sector ? bytes_per_sector : 512;
  return sectors != 0 && sectors * bps <= kLargestClusterBytes;
}

bool PlausibleU64(std::uint64_t v) {
  return v != 0 && ((v & 0xFFFFFFFFu) & (v >> 32)) != 0xFFFFFFFFu;
}

// Sectors and bytes of a file or index record from the signed clusters-per-
// record byte: negative means 2^(-v) bytes.
void RecordSize(std::int8_t v, std::uint16_t bytes_per_sector, std::uint32_t sectors_per_cluster,
                std::uint8_t* sectors, std::uint32_t* bytes) {
  if (v < 0) {
    int shift = -v;
    std::uint64_t size = shift < 32 ? (std::uint64_t{1} << shift) : 0;
    *bytes = static_cast<std::uint32_t>(size);
    *sectors = static_cast<std::uint8_t>(bytes_per_sector ? size / bytes_per_sector : 0);
  } else {
    *sectors = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) * sectors_per_cluster);
    *bytes = std::uint32_t{*sectors} * bytes_per_sector;
  }
}

}  // namespace

bool IsNtfsBootSector(std::span<const std::uint8_t> sector) {
  ByteReader r(sector);
  if (!r.Has(0, 512)) return false;
  if (*r.U8(0) == 0 || *r.U8(1) == 0 || *r.U8(2) != 0x90) return false;
  if (*r.U32(boot::kLargeSectorCount) != 0 || *r.U16(boot::kDriveNumber) != 0x0080) return false;
  std::uint16_t bps = *r.U16(boot::kBytesPerSector);
  if (bps != 0 && (bps % 512 != 0 || (bps != 512 && (bps / 512) % 2 != 0))) return false;
  if (!PlausibleSectorsPerCluster(*r.U8(boot::kSectorsPerCluster), bps)) return false;
  if (!OneOrEven(*r.U8(boot::kClustersPerFileRecord))) return false;
  if (!OneOrEven(*r.U8(boot::kClustersPerIndexRecord))) return false;
  return PlausibleU64(*r.U64(boot::kMftLcn)) && PlausibleU64(*r.U64(boot::kMftMirrLcn)) &&
         PlausibleU64(*r.U64(boot::kTotalSectors));
}

VolumeInfo VolumeFromBootSector(std::span<const std::uint8_t> sector, std::uint64_t first_sector,
                                std::uint64_t length, std::uint16_t source_bytes_per_sector,
                                GeometryOrigin origin) {
  ByteReader r(sector);
  VolumeInfo v;
  std::uint16_t boot_bps = r.U16(boot::kBytesPerSector).value_or(0);
  std::uint16_t bps = (boot_bps != 0 && boot_bps % 512 == 0) ? boot_bps : source_bytes_per_sector;
  const std::uint32_t spc = SectorsPerClusterFromByte(r.U8(boot::kSectorsPerCluster).value_or(0));
  v.first_sector = first_sector;
  v.length = length;
  v.mft_lcn = r.U64(boot::kMftLcn).value_or(0);
  v.mftmirr_lcn = r.U64(boot::kMftMirrLcn).value_or(0);
  v.serial = r.U64(boot::kSerial).value_or(0);
  v.sectors_per_cluster = spc;
  v.bytes_per_cluster = std::uint32_t{bps} * spc;
  v.mft_sector = first_sector + v.mft_lcn * spc;

  std::uint32_t file_bytes = 0;
  RecordSize(r.S8(boot::kClustersPerFileRecord).value_or(0), bps, spc,
             &v.sectors_per_file_record, &file_bytes);
  v.bytes_per_file_record = static_cast<std::uint16_t>(file_bytes);
  std::uint32_t index_bytes = 0;
  RecordSize(r.S8(boot::kClustersPerIndexRecord).value_or(0), bps, spc,
             &v.sectors_per_index_record, &index_bytes);
  if (origin == GeometryOrigin::kPartitionTable) {
    v.bytes_per_sector = bps;
    v.bytes_per_index_record = index_bytes;
  } else {
    v.bytes_per_sector = 0;  // SelectVolume falls back to the source's size
    v.bytes_per_index_record = 0;
  }
  return v;
}

}  // namespace salvor
