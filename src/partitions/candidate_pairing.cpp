#include "partitions/candidate_pairing.h"

#include <optional>

#include "partitions/source_bytes.h"

namespace salvor {
namespace {

using Signed = __int128;  // sums of hostile fields: a negative start is dropped, never wrapped

bool SameCopy(const MftCandidate& a, const MftCandidate& b) {
  return a.cluster == b.cluster && a.record_bytes == b.record_bytes &&
         a.cluster_bytes == b.cluster_bytes && a.creation_time == b.creation_time;
}

bool SameBytes(SectorSource& source, const MftCandidate& a, const MftCandidate& b) {
  return ReadBytesAt(source, a.sector, a.record_bytes) == ReadBytesAt(source, b.sector, b.record_bytes);
}

// The volume with its geometry from `c`; nullopt when the start or an LCN
// would lie before the disk or the start beyond it. The $MFT sector is always
// first sector + MFT LCN x sectors per cluster, wherever the copy was met.
std::optional<VolumeInfo> Rebuild(const MftCandidate& c, Signed first, Signed mft_lcn,
                                  Signed mirr_lcn, std::uint8_t flag, std::uint64_t source_total) {
  const Signed spc = c.sectors_per_cluster;
  Signed length = 2 * mirr_lcn * spc;
  Signed mft_sector = first + mft_lcn * spc;
  if (first < 0 || mft_lcn < 0 || mirr_lcn < 0 || first >= source_total ||
      length > Signed{UINT64_MAX} || mft_sector > Signed{UINT64_MAX})
    return std::nullopt;
  VolumeInfo v;
  v.first_sector = static_cast<std::uint64_t>(first);
  v.length = static_cast<std::uint64_t>(length);
  v.mft_lcn = static_cast<std::uint64_t>(mft_lcn);
  v.mftmirr_lcn = static_cast<std::uint64_t>(mirr_lcn);
  v.mft_sector = static_cast<std::uint64_t>(mft_sector);
  v.bytes_per_cluster = c.cluster_bytes;
  v.bytes_per_file_record = static_cast<std::uint16_t>(c.record_bytes);
  v.sectors_per_cluster = c.sectors_per_cluster;
  v.sectors_per_file_record = c.sectors_per_record;
  v.bytes_per_sector = static_cast<std::uint16_t>(c.cluster_bytes / c.sectors_per_cluster);
  v.origin_flags = flag;
  return v;
}

// Record 0 at A (in the $MFT) and B (in the mirror): B's cluster is the MFT
// LCN and the distance between them gives the mirror's.
std::optional<VolumeInfo> FromRecord0Pair(const MftCandidate& a, const MftCandidate& b,
                                          std::uint64_t total) {
  Signed spc = a.sectors_per_cluster;
  Signed mirr = (Signed{b.sector} - a.sector) / spc + b.cluster;
  return Rebuild(b, Signed{b.sector} - mirr * spc, b.cluster, mirr, kFoundFromMftAndMirror, total);
}

// Record 1 at A and B: B's cluster is the mirror's LCN; each copy lies one
// file record after the start of its table.
std::optional<VolumeInfo> FromRecord1Pair(const MftCandidate& a, const MftCandidate& b,
                                          std::uint64_t total) {
  Signed spc = b.sectors_per_cluster;
  Signed mirr = b.cluster;
  Signed mft = mirr - (Signed{b.sector} - a.sector) / spc;
  Signed first = Signed{b.sector} - mirr * spc - b.sectors_per_record;
  return Rebuild(b, first, mft, mirr, kFoundFromMftAndMirror, total);
}

std::optional<VolumeInfo> FromRecord0And1(const MftCandidate& m, const MftCandidate& r,
                                          std::uint64_t total) {
  Signed spc = m.sectors_per_cluster;
  Signed mirr = r.cluster;
  Signed first;
  if (r.sector == m.sector + m.sectors_per_record) {
    first = Signed{m.sector} - mirr * spc;  // records 0 and 1 of the mirror
  } else {
    // R is record 1 of the mirror: one file record after the mirror's start.
    first = Signed{r.sector} - mirr * spc - r.sectors_per_record;
  }
  return Rebuild(m, first, m.cluster, mirr, kFoundFromRecordPair, total);
}

template <typename Build>
void PairSameKind(SectorSource& source, std::vector<MftCandidate>& c, std::vector<VolumeInfo>& list,
                  const PartitionFound& found, Build build) {
  for (std::size_t i = 0; i < c.size(); ++i) {
    for (std::size_t j = i + 1; j < c.size(); ++j) {
      if (!SameCopy(c[i], c[j]) || !SameBytes(source, c[i], c[j])) continue;
      c[i].paired = c[j].paired = true;
      if (auto v = build(c[i], c[j], source.total_sectors())) ListRebuiltVolume(list, *v, found);
    }
  }
}

}  // namespace

void PairMftCandidates(SectorSource& source, std::vector<MftCandidate>& record0,
                       std::vector<MftCandidate>& record1, std::vector<VolumeInfo>& list,
                       const PartitionFound& found) {
  PairSameKind(source, record0, list, found, FromRecord0Pair);
  PairSameKind(source, record1, list, found, FromRecord1Pair);
  for (MftCandidate& m : record0) {
    for (MftCandidate& r : record1) {
      if (m.paired || r.paired) continue;
      if (m.sectors_per_cluster != r.sectors_per_cluster ||
          m.sectors_per_record != r.sectors_per_record || m.cluster_bytes != r.cluster_bytes ||
          m.creation_time != r.creation_time)
        continue;
      auto v = FromRecord0And1(m, r, source.total_sectors());
      if (!v) continue;
      m.paired = r.paired = true;
      ListRebuiltVolume(list, *v, found);
    }
  }
}

}  // namespace salvor
