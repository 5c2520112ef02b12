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
  carve
      .add_option("--burn", options.burn,
                  "Write the saved files to the disc in DRIVE (/dev/sr0, or stdio:FILE.iso for an "
                  "image file); --out holds them until the burn succeeds")
      ->type_name("DRIVE")
      ->needs(out);
}

void SaveCarvedOutput(const CarveSaveOptions& options, carver::CarvingScanResult& scan,
                      carver::CarveDisk& disk, CliContext& ctx) {
  using carver::SaveStatus;
  if (options.out.empty() || !scan.completed) return;
  // The archive numbers grow over the saves of one run; a command line run saves once.
  carver::ArchiveSeries series;
  ctx.host.set_progress_label(options.burn.empty() ? "Saving" : "Burning");
  ctx.host.set_progress_unit_bytes(0);
  const carver::SaveResult result = SaveCarvedFiles(
      scan, disk, {options.out, options.zip, options.exclude, options.burn}, series, ctx.host,
      ctx.run);
  ctx.host.FinishProgress();
  if (result.status == SaveStatus::kCompleted && !ctx.options.json) {
    const std::string where = !options.burn.empty() ? options.burn
                              : options.zip        ? result.archive_folder.string()
                                                   : result.output_folder.string();
    std::fprintf(stderr, "%llu file(s) saved to %s\n",
                 static_cast<unsigned long long>(result.files_saved), where.c_str());
  }
  if (ctx.exit_status != kExitOk) return;
  if (result.status == SaveStatus::kFailed) ctx.exit_status = kExitFailure;
  else if (result.status == SaveStatus::kStopped) ctx.exit_status = kExitStopped;
}

}  // namespace salvor::cli
