#include "app/carving_operations.h"

#include <algorithm>

#include "carver/handler_context.h"
#include "carver/save_job.h"
#include "carver/save_selection.h"
#include "carver/texts.h"
#include "disk/block_device.h"
#include "disk/sector_source.h"
#include "burn/burn_library.h"
#include "burn/disc_burner.h"
#include "carver/texts.h"

namespace salvor {
namespace {

std::string WithoutDot(std::string extension) {
  if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
  return extension;
}

}  // namespace

std::filesystem::path DefaultSignaturePath() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return carver::SignatureFilePath(ec ? std::filesystem::path(".") : exe.parent_path());
}

std::optional<carver::SignatureList> LoadSignatures(const std::filesystem::path& path, Host& host) {
  std::optional<carver::SignatureList> list = carver::LoadSignatureFile(path);
  if (!list)
    host.ShowMessage(MessageIcon::kError, carver::text::kCaptionError,
                     carver::text::kFailedToRetrieveSignatures);
  return list;
}

carver::SignatureList SelectSignatures(carver::SignatureList& list,
                                       const SignatureSelection& selection) {
  if (selection.all) {
    for (auto& r : list) r.selected = 1;
  } else if (selection.extensions) {
    for (auto& r : list) {
      r.selected = std::any_of(selection.extensions->begin(), selection.extensions->end(),
                               [&](const std::string& wanted) {
                                 return carver::EqualsIgnoreCase(WithoutDot(wanted), r.extension);
                               });
    }
  } else if (!selection.category.empty()) {
    for (auto& r : list) r.selected = carver::EqualsIgnoreCase(selection.category, r.category);
  }
  return carver::KeepSelected(list, selection.maximum_bytes);
}

OperationStatus OpenCarveSource(carver::CarveDisk& disk, const std::string& path,
                                std::uint16_t forced_sector_size) {
  const carver::OpenDiskResult opened = carver::OpenCarveDisk(disk, path, forced_sector_size);
  if (opened.ok) return OperationStatus::Completed();
  return OperationStatus::Failed(
      Format(carver::text::kCannotOpenDisk, path.c_str(), ErrorText(opened.error).c_str()));
}

carver::CarvingScanResult CarveSource(carver::CarveDisk& disk, const carver::SignatureList& selected,
                                      Host& host, RunControl& run, bool announce_completion,
                                      const carver::FoundListener& on_found) {
  carver::ContinuationLists lists;
  carver::ScanOptions options;
  options.on_found = on_found;
  carver::CarvingScanResult result = carver::RunCarvingScan(disk, selected, lists, host, run, options);
  if (announce_completion) carver::AnnounceScanEnd(result, host);
  return result;
}

carver::SaveResult SaveCarvedFiles(carver::CarvingScanResult& scan, carver::CarveDisk& disk,
                                   const CarvedSaveRequest& request, carver::ArchiveSeries& series,
                                   Host& host, RunControl& run, carver::SaveEvents events) {
  // A folder that is not there yet is made; one that cannot be made fails
  // the save with its usual message.
  std::error_code ec;
  std::filesystem::create_directories(request.destination, ec);
  carver::SaveJob job;
  job.destination = request.destination;
  job.compress = request.zip;
  for (const std::string& extension : request.excluded) job.excluded.push_back(WithoutDot(extension));
  if (!request.only_checked) carver::CheckAll(*scan.tree.root);
  carver::SectorReader reader(disk, host);
  if (request.on_file) events.on_file = request.on_file;
  if (request.burn_drive.empty())
    return carver::RunSave(scan.tree, reader, job, series, host, run, events);
  burn::BurnLibrary library;
  if (!library.ok()) {
    host.ShowMessage(MessageIcon::kError, carver::text::kCaptionError,
                     carver::text::kNoBurningDevice);
    carver::SaveResult failed;
    failed.status = carver::SaveStatus::kFailed;
    return failed;
  }
  burn::DiscBurner burner(request.burn_drive);
  return carver::RunBurn(scan.tree, reader, job, series, burner, host, run, events);
}

CarvedSaveTotals CountCarvedFilesToSave(carver::CarvingScanResult& scan,
                                        const std::vector<std::string>& excluded) {
  std::vector<std::string> types;
  for (const std::string& extension : excluded) types.push_back(WithoutDot(extension));
  carver::CheckAll(*scan.tree.root);
  carver::ApplyExclusions(*scan.tree.root, types);
  CarvedSaveTotals totals;
  carver::ForEachFile(*scan.tree.root, [&](const carver::FoundNode& f) {
    if (!f.checked) return;
    ++totals.files;
    totals.bytes += f.length;
  });
  return totals;
}

}  // namespace salvor
