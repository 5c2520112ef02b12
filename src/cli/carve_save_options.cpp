#include "cli/carve_save_options.h"

#include <cstdio>

#include "app/carve_report.h"
#include "app/carving_operations.h"
#include "cli/json_writer.h"
#include "cli/report_options.h"
#include "disk/texts.h"

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
  AddReportOptions(&carve, options.report, options.report_format, out);
  carve.add_flag("--dry-run", options.dry_run,
                 "Count the files and bytes --out would write; create nothing")
      ->needs(out);
}

bool OpenCarveReport(const CarveSaveOptions& options, const std::string& source,
                     std::unique_ptr<RecoveryReport>& report, CliContext& ctx) {
  if (options.report.empty() || options.dry_run) return true;
  std::string error;
  report = RecoveryReport::Open(options.report, *ParseReportFormat(options.report_format), source, error);
  if (report) return true;
  std::fprintf(stderr, "salvor-cli: %s\n", error.c_str());
  ctx.exit_status = kExitFailure;
  return false;
}

namespace {

// Found files can overlap (a measure that runs over the next file), so
// together they may come to more than the source holds; that is said before
// anything is written, as are the files that were cut at the source's end.
void WarnAboutSizes(const carver::CarvingScanResult& scan, const carver::CarveDisk& disk,
                    std::uint64_t bytes) {
  const std::uint64_t source_bytes = disk.total_sectors * disk.sector_size;
  if (bytes > source_bytes) {
    std::fprintf(stderr, text::kCarveMoreThanSource, static_cast<unsigned long long>(bytes),
                 static_cast<unsigned long long>(source_bytes));
    std::fprintf(stderr, "\n");
  }
  if (scan.files_cut_at_end > 0) {
    std::fprintf(stderr, text::kCarveCutAtEnd, scan.files_cut_at_end);
    std::fprintf(stderr, "\n");
  }
}

void PrintDryRun(const CliContext& ctx, const CarvedSaveTotals& totals, const std::string& out) {
  if (ctx.options.json) {
    JsonLine line;
    line.Field("dry_run", true).Field("files", totals.files).Field("bytes", totals.bytes);
    std::printf("%s\n", line.str().c_str());
    return;
  }
  std::printf(text::kCarveDryRunSummary, static_cast<unsigned long long>(totals.files),
              static_cast<unsigned long long>(totals.bytes), out.c_str());
  std::printf("\n");
}

}  // namespace

void SaveCarvedOutput(const CarveSaveOptions& options, carver::CarvingScanResult& scan,
                      carver::CarveDisk& disk, RecoveryReport* report, CliContext& ctx) {
  using carver::SaveStatus;
  if (options.out.empty() || !scan.completed) return;
  const CarvedSaveTotals totals = CountCarvedFilesToSave(scan, options.exclude);
  WarnAboutSizes(scan, disk, totals.bytes);
  if (options.dry_run) {
    PrintDryRun(ctx, totals, options.out);
    return;
  }
  CarveReport carve_report;
  CarvedSaveRequest request;
  request.destination = options.out;
  request.zip = options.zip;
  request.excluded = options.exclude;
  request.burn_drive = options.burn;
  if (report) {
    request.on_file = [&](const carver::FoundNode& f, const std::filesystem::path& written,
                          bool renamed) { carve_report.Saved(f, written, renamed); };
  }
  // The archive numbers grow over the saves of one run; a command line run saves once.
  carver::ArchiveSeries series;
  ctx.host.set_progress_label(options.burn.empty() ? "Saving" : "Burning");
  ctx.host.set_progress_unit_bytes(0);
  const carver::SaveResult result = SaveCarvedFiles(scan, disk, request, series, ctx.host, ctx.run);
  ctx.host.FinishProgress();
  if (report) {
    carver::SectorReader reader(disk, ctx.host);
    carve_report.Write(*report, scan.tree, reader);
    std::string error;
    if (!report->Close(error)) {
      std::fprintf(stderr, "salvor-cli: %s\n", error.c_str());
      if (ctx.exit_status == kExitOk) ctx.exit_status = kExitFailure;
    }
  }
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
