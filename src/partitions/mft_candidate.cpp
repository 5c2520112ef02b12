#include "partitions/mft_candidate.h"

#include <limits>

#include "disk/byte_reader.h"
#include "ntfs/attribute.h"
#include "ntfs/data_runs.h"
#include "ntfs/file_record.h"
#include "ntfs/standard_information.h"
#include "ntfs/volume_info.h"

namespace salvor {
namespace {

inline constexpr std::uint32_t kBitmapType = 0xB0;
inline constexpr std::size_t kAllocatedSize = 0x28;    // u64, non-resident
inline constexpr std::size_t kInitializedSize = 0x38;  // u64, non-resident
inline constexpr std::uint32_t kLargestRecord = 8192;

struct Found {
  std::optional<Attribute> standard_information, data, bitmap;
};

Found FindAttributes(std::span<const std::uint8_t> record) {
  Found f;
  AttributeWalker walk(record);
  while (auto a = walk.Next()) {
    if (a->type() == attr::kStandardInformation && !f.standard_information) f.standard_information = a;
    if (a->type() == attr::kData && !f.data) f.data = a;
    if (a->type() == kBitmapType && !f.bitmap) f.bitmap = a;
  }
  return f;
}

std::optional<std::uint64_t> CreationTimeIfTimesEqual(const Attribute& si) {
  namespace s = standard_information;
  auto value = si.non_resident() ? std::nullopt : si.Value();
  if (!value) return std::nullopt;
  auto t0 = value->U64(s::kCreationTime);
  if (!t0 || value->U64(s::kModificationTime) != t0 || value->U64(s::kChangeTime) != t0 ||
      value->U64(s::kAccessTime) != t0)
    return std::nullopt;
  return t0;
}

std::uint64_t FirstCluster(const std::optional<Attribute>& a) {
  if (!a || !a->non_resident()) return 0;
  RunList runs;
  if (DecodeRuns(a->bytes(), a->run_list_offset(), runs) == 0) return 0;
  return runs.front().lcn;
}

// Allocated bytes over allocated clusters of the attribute that carries a
// size, when that size is wholly initialised.
std::optional<std::uint32_t> ClusterBytes(const std::optional<Attribute>& a) {
  if (!a || !a->non_resident()) return std::nullopt;
  const ByteReader& r = a->reader();
  auto allocated = r.U64(kAllocatedSize);
  auto initialized = r.U64(kInitializedSize);
  if (!allocated || !initialized || *initialized != a->real_size()) return std::nullopt;
  if (a->highest_vcn() < a->lowest_vcn()) return std::nullopt;
  std::uint64_t clusters = a->highest_vcn() - a->lowest_vcn() + 1;
  if (clusters == 0) return std::nullopt;  // the VCN span wrapped
  std::uint64_t bytes = *allocated / clusters;
  if (bytes > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  return static_cast<std::uint32_t>(bytes);
}

}  // namespace

std::optional<std::uint32_t> CandidateRecordBytes(std::span<const std::uint8_t> sector,
                                                  std::uint16_t bytes_per_sector) {
  ByteReader r(sector);
  auto magic = r.Slice(file_record::kMagic, 4);
  auto usa = r.U16(file_record::kUpdateSequenceOffset);
  auto allocated = r.U32(file_record::kBytesAllocated);
  if (!magic || !usa || !allocated || bytes_per_sector == 0) return std::nullopt;
  if (!std::equal(magic->begin(), magic->end(), "FILE")) return std::nullopt;
  if (*usa != file_record::kOldHeader && *usa != file_record::kNewHeader) return std::nullopt;
  std::uint32_t bytes = *allocated;
  if (bytes == 0 || bytes >= kLargestRecord || bytes < bytes_per_sector || bytes % bytes_per_sector)
    return std::nullopt;
  std::uint32_t sectors = bytes / bytes_per_sector;
  if (sectors != 1 && sectors % 2) return std::nullopt;
  return bytes;
}

std::optional<MftCandidate> CandidateFromRecord(std::span<const std::uint8_t> record,
                                                std::uint64_t sector, MftRecordKind kind,
                                                std::uint16_t bytes_per_sector) {
  Found f = FindAttributes(record);
  if (!f.standard_information || bytes_per_sector == 0) return std::nullopt;
  auto created = CreationTimeIfTimesEqual(*f.standard_information);
  if (!created) return std::nullopt;

  MftCandidate c;
  c.sector = sector;
  c.creation_time = *created;
  c.record_bytes = ByteReader(record).U32(file_record::kBytesAllocated).value_or(0);
  c.cluster = FirstCluster(f.data);
  if (kind == MftRecordKind::kMft && c.cluster == 0) c.cluster = FirstCluster(f.bitmap) + 1;
  if (c.cluster == 0) return std::nullopt;  // cluster 0 holds the boot sector, never a table
  auto cluster_bytes = ClusterBytes(kind == MftRecordKind::kMft ? f.bitmap : f.data);
  if (!cluster_bytes || *cluster_bytes == 0 || *cluster_bytes % bytes_per_sector) return std::nullopt;
  c.cluster_bytes = *cluster_bytes;
  std::uint32_t spc = c.cluster_bytes / bytes_per_sector;
  std::uint32_t spr = c.record_bytes / bytes_per_sector;
  // Record sizes are kept in 8 bits of sectors; clusters go up to 2 MiB, and
  // above 128 sectors only powers of two have a boot sector byte.
  if (c.cluster_bytes > kLargestClusterBytes || SectorsPerClusterFromByte(SectorsPerClusterByte(spc)) != spc ||
      spr == 0 || spr > 0xFF)
    return std::nullopt;
  c.sectors_per_cluster = spc;
  c.sectors_per_record = static_cast<std::uint8_t>(spr);
  return c;
}

}  // namespace salvor
