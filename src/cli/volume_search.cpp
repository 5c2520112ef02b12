#include "cli/volume_search.h"

#include "app/volume_listing.h"
#include "disk/texts.h"

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
  VolumeListRequest request;
  request.method = search.method.empty()       ? VolumeSearchMethod::kTables
                   : search.method == "quick" ? VolumeSearchMethod::kQuick
                                               : VolumeSearchMethod::kThorough;
  request.from = search.from;
  request.to = search.to;
  request.sector_size_forced = ctx.options.sector_size != 0;
  if (request.method != VolumeSearchMethod::kTables)
    ctx.host.set_progress_label(std::string(request.method == VolumeSearchMethod::kThorough
                                                ? text::kThoroughScanInProgress
                                                : text::kQuickScanInProgress));
  const OperationStatus listed = salvor::ListVolumes(ctx.state, request);
  ctx.host.FinishProgress();
  PrintFailure(listed);
  return listed.completed();
}

}  // namespace salvor::cli
