#include "app/volume_listing.h"

#include "partitions/partition_search.h"
#include "partitions/scan_range.h"
#include "partitions/source_volumes.h"

namespace salvor {

OperationStatus ListVolumes(EngineState& state, const VolumeListRequest& request) {
  try {
    if (request.method == VolumeSearchMethod::kTables) {
      ListSourceVolumes(state, request.sector_size_forced);
      return OperationStatus::Completed();
    }
    SearchRequest search;
    search.thorough = request.method == VolumeSearchMethod::kThorough;
    search.start_sector = request.from;
    search.end_sector = request.to.value_or(state.source.total_sectors());
    if (auto problem =
            CheckSectorRange(search.start_sector, search.end_sector, state.source.total_sectors()))
      return OperationStatus::Failed(std::string(*problem));
    return RunPartitionSearch(state, search, {}) ? OperationStatus::Completed()
                                                 : OperationStatus::Stopped();
  } catch (const UserException&) {
    return OperationStatus::Failed();  // the sector source has said why
  }
}

}  // namespace salvor
