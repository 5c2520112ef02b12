#include "ntfs/data_stream.h"

#include <algorithm>

#include "ntfs/attribute_list.h"
#include "ntfs/data_runs.h"
#include "ntfs/data_sink.h"
#include "ntfs/data_writer.h"
#include "ntfs/extension_records.h"
#include "ntfs/mft_locator.h"

namespace salvor {

std::optional<Attribute> FindUnnamedData(std::span<const std::uint8_t> record) {
  AttributeWalker walk(record);
  while (auto a = walk.Next())
    if (a->type() == attr::kData && a->unnamed()) return a;
  return std::nullopt;
}

DataStream StreamOfAttribute(const Attribute& data) {
  DataStream s;
  if (!data.non_resident()) {
    if (auto value = data.Value()) s.value.assign(value->bytes().begin(), value->bytes().end());
    s.size = s.initialized_size = s.value.size();
    return s;
  }
  s.resident = false;
  s.size = data.real_size();
  s.initialized_size = data.reader().U64(attr::kInitializedSize).value_or(s.size);
  s.compressed = (data.reader().U16(attr::kFlags).value_or(0) & attr::kCompressionMask) != 0;
  s.unit_clusters = CompressionUnitClusters(data.compression_unit());
  DecodeRuns(data.bytes(), data.run_list_offset(), s.runs);
  return s;
}

namespace {

struct Extent {
  std::uint64_t vcn = 0;
  std::uint32_t record = 0;
};

// The unnamed $DATA extents the list names, by starting VCN, each VCN once.
std::vector<Extent> DataExtents(const std::vector<std::uint8_t>& bytes) {
  std::vector<Extent> extents;
  ByteReader list(bytes);
  std::size_t at = 0;
  while (auto e = ReadAttributeListEntry(list, at)) {
    if (e->type == attr::kData && e->unnamed()) extents.push_back({e->starting_vcn, e->record});
    at += e->length;
  }
  std::stable_sort(extents.begin(), extents.end(),
                   [](const Extent& a, const Extent& b) { return a.vcn < b.vcn; });
  extents.erase(std::unique(extents.begin(), extents.end(),
                            [](const Extent& a, const Extent& b) { return a.vcn == b.vcn; }),
                extents.end());
  return extents;
}

// The unnamed $DATA attribute of `record` that starts at `vcn`.
std::optional<Attribute> ExtentAttribute(std::span<const std::uint8_t> record, std::uint64_t vcn) {
  AttributeWalker walk(record);
  while (auto a = walk.Next()) {
    if (a->type() != attr::kData || !a->unnamed()) continue;
    if (a->non_resident() ? a->lowest_vcn() == vcn : vcn == 0) return a;
  }
  return std::nullopt;
}

StreamLookup StreamThroughList(EngineState& state, std::span<const std::uint8_t> base,
                               const Attribute& list) {
  const std::vector<Extent> extents = DataExtents(AttributeListBytes(state, list));
  if (extents.empty()) {
    // A list that names no data: what the base record holds is all there is.
    auto data = FindUnnamedData(base);
    if (!data) return {};
    return {StreamStatus::kFound, StreamOfAttribute(*data)};
  }
  StreamLookup found;
  std::vector<std::uint8_t> record(state.volume.bytes_per_file_record);
  std::uint64_t next_vcn = 0;
  bool have_start = false;
  for (const Extent& extent : extents) {
    if (!ReadMftRecord(state, extent.record, record)) return {StreamStatus::kBadRecord, {}};
    auto data = ExtentAttribute(record, extent.vcn);
    if (!data) continue;  // a stale entry: its range reads as zeros
    DataStream part = StreamOfAttribute(*data);
    if (!have_start) {
      if (extent.vcn != 0) break;  // without the first extent the size is unknown
      have_start = true;
      found.status = StreamStatus::kFound;
      found.stream = std::move(part);
      if (found.stream.resident) return found;
      for (const Run& r : found.stream.runs) next_vcn += r.length;
      continue;
    }
    if (part.resident || extent.vcn < next_vcn) continue;  // overlaps what we have
    if (extent.vcn > next_vcn) found.stream.runs.push_back({extent.vcn - next_vcn, 0});
    next_vcn = extent.vcn;
    for (const Run& r : part.runs) {
      found.stream.runs.push_back(r);
      next_vcn += r.length;
    }
  }
  return found;
}

}  // namespace

StreamLookup LocateDataStream(EngineState& state, std::span<const std::uint8_t> record) {
  AttributeWalker walk(record);
  while (auto a = walk.Next())
    if (a->type() == attr::kAttributeList) return StreamThroughList(state, record, *a);
  auto data = FindUnnamedData(record);
  if (!data) return {};
  return {StreamStatus::kFound, StreamOfAttribute(*data)};
}

std::vector<std::uint8_t> AttributeListBytes(EngineState& state, const Attribute& list) {
  if (!list.non_resident()) {
    auto value = list.Value();
    if (!value) return {};
    return {value->bytes().begin(), value->bytes().end()};
  }
  DataStream s = StreamOfAttribute(list);
  s.size = s.initialized_size = std::min(s.size, kMaxAttributeListSize);
  s.compressed = false;
  VectorSink sink;
  StreamWriter writer{state, sink, s.size, s.initialized_size, nullptr};
  WriteRuns(s.runs, writer);
  return std::move(sink.bytes());
}

}  // namespace salvor
