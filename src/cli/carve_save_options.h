#pragma once
// salvor-cli carve --out DIR [--zip] [--exclude EXT,...] [--burn DRIVE]:
// after the scan, every found file is saved below DIR as Trawler lays it out
// (DataKLT<n>, "Raw Data", category, extension), or packed into
// DataKLT<n><k>.zip; with --burn, DIR is the cache that goes onto the disc.

#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/recovery_report.h"
#include "carver/carve_disk.h"
#include "carver/carving_scan.h"
#include "cli/cli_context.h"

namespace salvor::cli {

struct CarveSaveOptions {
  std::string out;
  bool zip = false;
  std::vector<std::string> exclude;
  std::string report;
  std::string report_format = "jsonl";
  bool dry_run = false;
  std::string burn;  // a writer: --out is then the cache for the disc
};

void AddCarveSaveOptions(CLI::App& carve, CarveSaveOptions& options);

// Opens --report before the scan, so that a report that cannot be written
// stops the run before the work; false (reason shown, exit status set) then.
bool OpenCarveReport(const CarveSaveOptions& options, const std::string& source,
                     std::unique_ptr<RecoveryReport>& report, CliContext& ctx);

// Saves the files of a completed scan when --out was given (a dry run
// counts them instead); a failed or stopped save sets the exit status.
void SaveCarvedOutput(const CarveSaveOptions& options, carver::CarvingScanResult& scan,
                      carver::CarveDisk& disk, RecoveryReport* report, CliContext& ctx);

}  // namespace salvor::cli
