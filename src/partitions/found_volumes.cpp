#include "partitions/found_volumes.h"

namespace salvor {
namespace {

void Append(std::vector<VolumeInfo>& list, const VolumeInfo& v, const PartitionFound& found) {
  list.push_back(v);
  if (found) found(list.size(), list.back());
}

}  // namespace

void ListBootSectorVolume(std::vector<VolumeInfo>& list, const VolumeInfo& v,
                          std::uint8_t again_flag, const PartitionFound& found) {
  if (const VolumeInfo* same = FindSameVolume(list, v)) {
    list[static_cast<std::size_t>(same - list.data())].origin_flags |= again_flag;
    return;
  }
  Append(list, v, found);
}

void ListRebuiltVolume(std::vector<VolumeInfo>& list, const VolumeInfo& v,
                       const PartitionFound& found) {
  if (const VolumeInfo* same = FindSameVolumeNear(list, v)) {
    list[static_cast<std::size_t>(same - list.data())].origin_flags |= v.origin_flags;
    return;
  }
  Append(list, v, found);
}

}  // namespace salvor
