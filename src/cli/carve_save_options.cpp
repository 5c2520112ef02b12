#include "cli/carve_save_options.h"

#include <cstdio>
#include <filesystem>

#include "carver/save_job.h"
#include "carver/save_selection.h"

namespace salvor::cli {

void AddCarveSaveOptions(CLI::App& carve, CarveSaveOptions& options) {
  auto* out = carve.add_option("--out", options.out, "Save the found files below DIR")
                  ->type_name("DIR");
  carve.add_flag("--zip", options.zip, "Pack the saved files into ZIP archives")->needs(out);
  carve.add_option("--exclude", options.exclude, "Extensions not to save, e.g. jpg,tif")
      ->delimiter(',')
      ->type_name("EXT,...")
      ->needs(out);
}

void SaveCarvedOutput(const CarveSaveOptions& options, carver::CarvingScanResult& scan,
                      carver::CarveDisk& disk, CliContext& ctx) {
  using namespace salvor::carver;
  if (options.out.empty() || !scan.completed) return;
  // As with recover, a folder that is not there yet is made; one that cannot
  // be made fails the save with its usual message.
  std::error_code ec;
  std::filesystem::create_directories(options.out, ec);
  SaveJob job;
  job.destination = options.out;
  job.compress = options.zip;
  for (std::string extension : options.exclude) {
    if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
    job.excluded.push_back(extension);
  }
  CheckAll(*scan.tree.root);
  // The archive numbers grow over the saves of one run; a command line run saves once.
  ArchiveSeries series;
  SectorReader reader(disk, ctx.host);
  ctx.host.set_progress_label("Saving");
  ctx.host.set_progress_unit_bytes(0);
  const SaveResult result = RunSave(scan.tree, reader, job, series, ctx.host, ctx.run);
  ctx.host.FinishProgress();
  if (result.status == SaveStatus::kCompleted && !ctx.options.json) {
    std::fprintf(stderr, "%llu file(s) saved to %s\n", static_cast<unsigned long long>(result.files_saved),
                 (job.compress ? result.archive_folder : result.output_folder).c_str());
  }
  if (ctx.exit_status != kExitOk) return;
  if (result.status == SaveStatus::kFailed) ctx.exit_status = kExitFailure;
  else if (result.status == SaveStatus::kStopped) ctx.exit_status = kExitStopped;
}

}  // namespace salvor::cli
