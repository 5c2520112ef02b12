#include "cli/volume_search.h"

#include <cstdio>

#include "disk/texts.h"
#include "partitions/partition_search.h"
#include "partitions/scan_range.h"
#include "partitions/source_volumes.h"

namespace salvor::cli {

void AddVolumeSearchOptions(CLI::App* cmd, VolumeSearch& search) {
  auto* method = cmd->add_option("--search", search.method,
                                 "List the volumes a search finds instead of the partition tables")
                     ->check(CLI::IsMember({"quick", "thorough"}));
  cmd->add_option("--from", search.from, "First sector of the search (default 0)")->needs(method);
  cmd->add_option_function<std::uint64_t>(
         "--to", [&search](const std::uint64_t& e) { search.to = e; },
         "End sector of the search (default: the source's sector count)")
      ->needs(method);
}

bool ListVolumes(CliContext& ctx, const VolumeSearch& search) {
  EngineState& state = ctx.state;
  try {
    if (search.method.empty()) {
      ListSourceVolumes(state, ctx.options.sector_size != 0);
      return true;
    }
    SearchRequest request;
    request.thorough = search.method == "thorough";
    request.start_sector = search.from;
    request.end_sector = search.to.value_or(state.source.total_sectors());
    if (auto problem = CheckSectorRange(request.start_sector, request.end_sector,
                                        state.source.total_sectors())) {
      std::fprintf(stderr, "salvor-cli: %.*s\n", static_cast<int>(problem->size()), problem->data());
      return false;
    }
    ctx.host.set_progress_label(
        std::string(request.thorough ? text::kThoroughScanInProgress : text::kQuickScanInProgress));
    bool completed = RunPartitionSearch(state, request, {});
    ctx.host.FinishProgress();
    return completed;
  } catch (const UserException&) {
    return false;  // the sector source has said why
  }
}

}  // namespace salvor::cli
