#include "app/carving_operations.h"

#include <algorithm>

#include "carver/handler_context.h"
#include "carver/save_job.h"
#include "carver/save_selection.h"
#include "carver/texts.h"
#include "disk/block_device.h"
#include "disk/sector_source.h"

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
  options.announce_completion = announce_completion;
  options.on_found = on_found;
  return carver::RunCarvingScan(disk, selected, lists, host, run, options);
}

carver::SaveResult SaveCarvedFiles(carver::CarvingScanResult& scan, carver::CarveDisk& disk,
                                   const CarvedSaveRequest& request, carver::ArchiveSeries& series,
                                   Host& host, RunControl& run, const carver::SaveEvents& events) {
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
  return carver::RunSave(scan.tree, reader, job, series, host, run, events);
}

}  // namespace salvor
