#include "ntfs/locate_mft.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "disk/byte_reader.h"
#include "ntfs/attribute.h"
#include "ntfs/attribute_list.h"
#include "ntfs/data_runs.h"
#include "ntfs/extension_records.h"
#include "ntfs/file_record.h"
#include "ntfs/mft_first_record.h"
#include "ntfs/mft_locator.h"

namespace salvor {
namespace {

inline constexpr std::size_t kAttributeIdentifier = 0x0E;  // u16 in every attribute header

// One file record read at `sector` into a cleared buffer of whole source
// sectors; the record is its first bytes_per_file_record bytes.
class RecordReader {
 public:
  explicit RecordReader(EngineState& state) : state_(state) {
    const std::size_t bps = std::max<std::size_t>(state.source.bytes_per_sector(), 1);
    const std::size_t size = state.volume.bytes_per_file_record;
    buffer_.resize((size + bps - 1) / bps * bps);
  }
  std::span<std::uint8_t> Read(std::uint64_t sector) {
    std::fill(buffer_.begin(), buffer_.end(), std::uint8_t{0});
    state_.source.ReadSectors(buffer_, sector);
    return record();
  }
  std::span<std::uint8_t> record() {
    return std::span<std::uint8_t>(buffer_).first(state_.volume.bytes_per_file_record);
  }

 private:
  EngineState& state_;
  std::vector<std::uint8_t> buffer_;
};

// The bytes of an attribute list: the resident value, or the clusters of a
// non-resident one up to its real size (read through its own runs).
std::vector<std::uint8_t> AttributeListBytes(EngineState& state, const Attribute& list) {
  if (!list.non_resident()) {
    auto value = list.Value();
    if (!value) return {};
    return {value->bytes().begin(), value->bytes().end()};
  }
  const CurrentVolume& v = state.volume;
  RunList runs;
  DecodeRuns(list.bytes(), list.run_list_offset(), runs);
  std::uint64_t size = std::min(list.real_size(), kMaxAttributeListSize);
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint8_t> cluster(v.bytes_per_cluster);
  for (const Run& run : runs) {
    for (std::uint64_t c = 0; c < run.length && bytes.size() < size; ++c) {
      std::fill(cluster.begin(), cluster.end(), std::uint8_t{0});
      if (!run.sparse()) state.source.ReadSectors(cluster, ClusterSector(v, run.lcn + c));
      const std::size_t take =
          static_cast<std::size_t>(std::min<std::uint64_t>(cluster.size(), size - bytes.size()));
      bytes.insert(bytes.end(), cluster.begin(),
                   cluster.begin() + static_cast<std::ptrdiff_t>(take));
    }
    if (bytes.size() >= size) break;
  }
  return bytes;
}

// Gathers the $MFT's data from the records its attribute list names; returns
// the clusters they cover.
std::uint64_t RunsFromAttributeList(EngineState& state, const Attribute& list_attribute) {
  const CurrentVolume& v = state.volume;
  std::vector<std::uint8_t> list_bytes = AttributeListBytes(state, list_attribute);
  ByteReader list(list_bytes);
  std::vector<AttributeListEntry> data_entries;
  std::size_t at = 0;
  while (auto e = ReadAttributeListEntry(list, at)) {
    if (e->type == attr::kData) data_entries.push_back(*e);
    at += e->length;
  }

  std::uint64_t clusters = 0;
  RecordReader reader(state);
  const std::uint64_t mft_start = ClusterSector(v, v.mft_lcn);
  for (const AttributeListEntry& e : data_entries) {
    std::span<std::uint8_t> record =
        reader.Read(mft_start + std::uint64_t{e.record} * v.sectors_per_file_record);
    if (!CheckFileRecord(record)) continue;
    AttributeWalker walk(record);
    while (auto a = walk.Next()) {
      if (a->type() != e.type || !a->non_resident()) continue;
      if (a->reader().U16(kAttributeIdentifier).value_or(0) != e.identifier) continue;
      if (a->highest_vcn() >= a->lowest_vcn()) clusters += a->highest_vcn() - a->lowest_vcn() + 1;
      DecodeRuns(a->bytes(), a->run_list_offset(), state.mft_runs);
      break;
    }
  }
  return clusters;
}

// The $MFT's data described in its own record: the first $DATA from the
// second attribute on. Returns the clusters it covers.
std::uint64_t RunsFromRecord(EngineState& state, std::optional<Attribute> a,
                             AttributeWalker& walk) {
  for (; a; a = walk.Next()) {
    if (a->type() == 0 || a->type() > attr::kData) break;
    if (a->type() != attr::kData) continue;
    if (!a->non_resident()) break;
    DecodeRuns(a->bytes(), a->run_list_offset(), state.mft_runs);
    return a->highest_vcn() == std::numeric_limits<std::uint64_t>::max() ? a->highest_vcn()
                                                                         : a->highest_vcn() + 1;
  }
  return 0;
}

}  // namespace

bool LocateMft(EngineState& state) {
  state.mft_runs.clear();
  CurrentVolume& v = state.volume;
  v.mft_record_count = 0;
  if (v.mft_lcn == 0 || v.bytes_per_file_record == 0 || v.sectors_per_cluster == 0 ||
      v.sectors_per_file_record == 0)
    return false;
  try {
    RecordReader reader(state);
    bool found = false;
    if (v.mft_sector != 0) found = IsMftRecord(reader.Read(v.mft_sector));
    if (!found) {
      // The $MFT's first record may lie a few sectors off, or only its copy
      // in the mirror may be whole: that copy's runs lead to the real $MFT.
      const std::uint64_t p = ClusterSector(v, v.mft_lcn);
      const std::uint64_t q = ClusterSector(v, v.mftmirr_lcn);
      for (std::uint32_t i = 0; i < v.sectors_per_cluster && !found; ++i) {
        if (IsMftRecord(reader.Read(p + i))) {
          v.mft_sector = p + i;
          found = true;
        } else if (IsMftRecord(reader.Read(q + i))) {
          v.mft_sector = q + i;
          found = true;
        }
      }
      if (!found) return false;
    }

    // Copy the record out: reading extension records reuses the reader.
    std::vector<std::uint8_t> mft_record(reader.record().begin(), reader.record().end());
    AttributeWalker walk(mft_record);
    std::optional<Attribute> second;
    if (walk.Next()) second = walk.Next();
    std::uint64_t clusters = 0;
    if (second && second->type() == attr::kAttributeList)
      clusters = RunsFromAttributeList(state, *second);
    else
      clusters = RunsFromRecord(state, second, walk);

    // Records = clusters * sectors per cluster / sectors per record, which
    // also holds when a record is bigger than a cluster.
    const std::uint64_t spc = v.sectors_per_cluster;
    const std::uint64_t records = clusters > std::numeric_limits<std::uint64_t>::max() / spc
                                      ? std::numeric_limits<std::uint64_t>::max()
                                      : clusters * spc / v.sectors_per_file_record;
    v.mft_record_count = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(records, std::numeric_limits<std::uint32_t>::max()));
  } catch (const UserException&) {
    // The sector source has told the user; what was decoded so far stays.
  }
  return !state.mft_runs.empty();
}

}  // namespace salvor
