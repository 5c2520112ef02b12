#include "cli/carve_save_options.h"

#include <cstdio>

#include "app/carving_operations.h"

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
  using carver::SaveStatus;
  if (options.out.empty() || !scan.completed) return;
  // The archive numbers grow over the saves of one run; a command line run saves once.
  carver::ArchiveSeries series;
  ctx.host.set_progress_label("Saving");
  ctx.host.set_progress_unit_bytes(0);
  const carver::SaveResult result = SaveCarvedFiles(
      scan, disk, {options.out, options.zip, options.exclude}, series, ctx.host, ctx.run);
  ctx.host.FinishProgress();
  if (result.status == SaveStatus::kCompleted && !ctx.options.json) {
    std::fprintf(stderr, "%llu file(s) saved to %s\n",
                 static_cast<unsigned long long>(result.files_saved),
                 (options.zip ? result.archive_folder : result.output_folder).c_str());
  }
  if (ctx.exit_status != kExitOk) return;
  if (result.status == SaveStatus::kFailed) ctx.exit_status = kExitFailure;
  else if (result.status == SaveStatus::kStopped) ctx.exit_status = kExitStopped;
}

}  // namespace salvor::cli
