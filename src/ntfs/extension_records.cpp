#include "ntfs/extension_records.h"

#include <algorithm>
#include <vector>

#include "disk/byte_reader.h"
#include "disk/failure.h"
#include "ntfs/attribute.h"
#include "ntfs/attribute_list.h"
#include "ntfs/file_name_attribute.h"
#include "ntfs/mft_locator.h"

namespace salvor {
namespace {

bool TakeNames(std::span<const std::uint8_t> record, EntryInfo& entry) {
  bool taken = false;
  AttributeWalker walk(record);
  while (auto a = walk.Next()) {
    if (a->type() < attr::kFileName) continue;
    if (a->type() > attr::kFileName) break;
    if (a->non_resident()) continue;
    auto value = a->Value();
    if (!value) continue;
    auto name = ReadFileNameValue(*value);
    if (!name) continue;
    entry.parent_record = name->parent;
    entry.SetName(name->name);
    taken = true;
  }
  return taken;
}

bool TakeDataSize(std::span<const std::uint8_t> record, EntryInfo& entry) {
  AttributeWalker walk(record);
  while (auto a = walk.Next()) {
    if (a->type() != attr::kData) continue;
    if (a->non_resident()) {
      if (a->lowest_vcn() != 0 || a->highest_vcn() == ~std::uint64_t{0} || a->real_size() == 0)
        return false;
      entry.size = a->real_size();
      return true;
    }
    if (a->value_length() == 0) return false;
    entry.size = a->value_length();
    return true;
  }
  return false;
}

// Runs `take` on record `record` read into a buffer of its own. Failures
// other than the user's stop give "not found", logged.
template <typename Take>
bool WithRecord(EngineState& state, std::uint32_t record, Take take) {
  try {
    std::vector<std::uint8_t> buffer(state.volume.bytes_per_file_record);
    if (!ReadMftRecord(state, record, buffer)) return false;
    return take(std::span<const std::uint8_t>(buffer));
  } catch (const UserException&) {
    throw;
  } catch (const std::exception& fault) {
    LogDroppedFault(state.host(), fault);
    return false;
  }
}

}  // namespace

bool FileNameFromRecord(EngineState& state, std::uint32_t record, EntryInfo& entry) {
  return WithRecord(state, record, [&](auto bytes) { return TakeNames(bytes, entry); });
}

bool DataSizeFromRecord(EngineState& state, std::uint32_t record, EntryInfo& entry) {
  return WithRecord(state, record, [&](auto bytes) { return TakeDataSize(bytes, entry); });
}

bool FileNameFromAttributeList(EngineState& state, const RunList& runs, std::uint64_t list_size,
                               EntryInfo& entry) {
  const CurrentVolume& v = state.volume;
  if (v.bytes_per_cluster == 0) return false;
  bool looked_up = false;
  bool result = false;
  try {
    std::vector<std::uint8_t> cluster(v.bytes_per_cluster);
    std::uint64_t left = std::min(list_size, kMaxAttributeListSize);
    for (const Run& run : runs) {
      for (std::uint64_t c = 0; c < run.length && left > 0; ++c) {
        const std::size_t used = static_cast<std::size_t>(std::min<std::uint64_t>(left, cluster.size()));
        left -= used;
        if (run.sparse()) continue;  // no clusters on disk: nothing to look up
        std::fill(cluster.begin(), cluster.end(), std::uint8_t{0});
        state.source.ReadSectors(cluster, ClusterSector(v, run.lcn + c));
        ByteReader list(std::span<const std::uint8_t>(cluster).first(used));
        std::size_t at = 0;
        while (auto e = ReadAttributeListEntry(list, at)) {
          if (e->type % 0x10 != 0 || e->type < 0x10 || e->type > attr::kData) break;
          if (e->type == attr::kFileName) {
            result = FileNameFromRecord(state, e->record, entry);
            looked_up = true;
          } else if (e->is_unnamed_data_start()) {
            result = DataSizeFromRecord(state, e->record, entry);
            looked_up = true;
            break;
          }
          at += e->length;
        }
        if (looked_up && result) return true;
      }
      if (left == 0) break;
    }
  } catch (const UserException&) {
    throw;
  } catch (const std::exception& fault) {
    LogDroppedFault(state.host(), fault);
    return false;
  }
  return looked_up ? result : true;
}

}  // namespace salvor
