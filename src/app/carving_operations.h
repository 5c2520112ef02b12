#pragma once
// What Trawler does, for every front end: the signature database and the
// file types chosen from it, the carving scan of a source, and saving what
// the scan found.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/operation_status.h"
#include "carver/archive_series.h"
#include "carver/carve_disk.h"
#include "carver/carved_save.h"
#include "carver/carving_scan.h"
#include "carver/save_job.h"
#include "carver/signature_database.h"
#include "disk/host.h"
#include "disk/run_control.h"

namespace salvor {

// The signature database beside the running program.
std::filesystem::path DefaultSignaturePath();

// The database at `path`; nullopt after telling the user it could not be read.
std::optional<carver::SignatureList> LoadSignatures(const std::filesystem::path& path, Host& host);

// Which file types to look for: every one, the given extensions, or one
// category; with none of these the database's own choice stands.
struct SignatureSelection {
  bool all = false;
  // With or without the leading dot; an empty list given selects nothing.
  std::optional<std::vector<std::string>> extensions;
  std::string category;
  // The length given to found files that have no measure of their own.
  std::uint64_t maximum_bytes = 1024;
};
// Marks the chosen types in `list` and gives the records a scan runs with.
carver::SignatureList SelectSignatures(carver::SignatureList& list,
                                       const SignatureSelection& selection);

// Opens a device or image read-only for the scan (see OpenCarveDisk).
OperationStatus OpenCarveSource(carver::CarveDisk& disk, const std::string& path,
                                std::uint16_t forced_sector_size);

// Runs the carving scan of the whole source for the selected types
// (KeepSelected's list). With `announce_completion` a scan that ran to its
// end reports 100 % and shows "Scanning Completed."; `on_found` hears of
// every file as it is found.
carver::CarvingScanResult CarveSource(carver::CarveDisk& disk, const carver::SignatureList& selected,
                                      Host& host, RunControl& run, bool announce_completion,
                                      const carver::FoundListener& on_found = {});

struct CarvedSaveRequest {
  std::filesystem::path destination;  // made when missing
  bool zip = false;
  std::vector<std::string> excluded;  // extensions, with or without the leading dot
  // Every found file, or only those the user checked (the desktop program).
  bool only_checked = false;
};

// Saves every file of a completed scan below the destination, laid out as
// Trawler lays it out, or packed into archives numbered on from `series`.
carver::SaveResult SaveCarvedFiles(carver::CarvingScanResult& scan, carver::CarveDisk& disk,
                                   const CarvedSaveRequest& request, carver::ArchiveSeries& series,
                                   Host& host, RunControl& run,
                                   const carver::SaveEvents& events = {});

}  // namespace salvor
