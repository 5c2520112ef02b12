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
  std::filesystem::path destination;  // made when missing; the cache when burning
  bool zip = false;
  std::vector<std::string> excluded;  // extensions, with or without the leading dot
  carver::SavedFileListener on_file = {};  // told of each file saved
  // A writer as libburn names it ("/dev/sr0", "stdio:/path/disc.iso"): the
  // saved files then go onto its disc, and the cache goes after a good burn.
  std::string burn_drive;
  // Every found file, or only those the user checked (the desktop program).
  bool only_checked = false;
};

// What a save of every found file would write: files and bytes, the
// excluded types left out. Checks every node and unchecks the excluded ones,
// as the save itself does.
struct CarvedSaveTotals {
  std::uint64_t files = 0;
  std::uint64_t bytes = 0;
};
CarvedSaveTotals CountCarvedFilesToSave(carver::CarvingScanResult& scan,
                                        const std::vector<std::string>& excluded);

// Saves every file of a completed scan below the destination, laid out as
// Trawler lays it out, or packed into archives numbered on from `series`;
// with a burn drive, onto that drive's disc.
carver::SaveResult SaveCarvedFiles(carver::CarvingScanResult& scan, carver::CarveDisk& disk,
                                   const CarvedSaveRequest& request, carver::ArchiveSeries& series,
                                   Host& host, RunControl& run,
                                   carver::SaveEvents events = {});

}  // namespace salvor
