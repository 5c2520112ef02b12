#include "app/copy_operations.h"

#include <sys/statvfs.h>

#include <filesystem>
#include <optional>

#include "app/open_source.h"
#include "disk/block_device.h"
#include "disk/disk_list.h"
#include "disk/texts.h"

namespace salvor {
namespace {

// Model, size text and serial number of a disk, as the disk list gives them;
// for an image file or a partition: its path, its size text and "N/A".
struct MediumLabel {
  std::string model;
  std::string size;
  std::string serial;
};

MediumLabel DescribeMedium(Host& host, const std::string& path, std::uint64_t bytes) {
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(path, ec);
  if (!ec && std::filesystem::is_block_file(real, ec)) {
    for (const DiskListEntry& disk : EnumerateDisks(host))
      if (real == std::filesystem::path("/dev") / disk.device_name)
        return {disk.model, disk.size, disk.serial_number};
  }
  return {path, DiskSizeText(bytes), std::string(text::kNotAvailable)};
}

std::uint64_t SourceBytes(const SectorSource& source) {
  return std::uint64_t{source.bytes_per_sector()} * source.total_sectors();
}

// Opens the source and refuses a destination that would write to it.
OperationStatus OpenCopySource(EngineState& state, const std::string& source,
                               std::uint16_t forced_sector_size, const std::string& destination) {
  OperationStatus opened = OpenSource(state, source, forced_sector_size);
  if (!opened.completed()) return opened;
  if (OverlapsSource(*state.source.device(), destination)) {
    state.host().ShowMessage(MessageIcon::kError, text::kCaptionProduct,
                             text::kChooseDifferentDestination);
    return OperationStatus::Failed();
  }
  return opened;
}

// Bytes the image may take in its folder: the space free to this user, plus
// the file it replaces.
std::optional<std::uint64_t> SpaceForImage(const std::string& image) {
  std::filesystem::path folder = std::filesystem::path(image).parent_path();
  if (folder.empty()) folder = ".";
  struct statvfs fs {};
  if (statvfs(folder.c_str(), &fs) != 0) return std::nullopt;
  std::uint64_t space = std::uint64_t{fs.f_bavail} * fs.f_frsize;
  std::error_code ec;
  if (std::filesystem::is_regular_file(image, ec)) space += std::filesystem::file_size(image, ec);
  return space;
}

}  // namespace

PreparedCopy PrepareClone(EngineState& state, const std::string& source,
                          std::uint16_t forced_sector_size, const std::string& destination) {
  PreparedCopy copy;
  copy.status = OpenCopySource(state, source, forced_sector_size, destination);
  if (!copy.status.completed()) return copy;
  const SectorSource& src = state.source;
  OpenResult probe = OpenBlockDeviceReadOnly(destination);
  if (!probe.device) {
    copy.status = OperationStatus::Failed(Format(text::kCannotOpenSourceBecause,
                                                 destination.c_str(),
                                                 ErrorText(probe.error).c_str()));
    return copy;
  }
  // A file has no sector size of its own: it takes the source's.
  std::uint32_t dest_bps = probe.device->IsBlockDevice() ? probe.device->LogicalSectorSize()
                                                         : src.bytes_per_sector();
  if (dest_bps == 0) dest_bps = 512;
  const std::uint64_t dest_bytes = probe.device->SizeBytes();
  probe.device.reset();
  if (dest_bps != src.bytes_per_sector() || dest_bytes / dest_bps < src.total_sectors()) {
    state.host().ShowMessage(MessageIcon::kError, text::kCaptionProduct,
                             text::kDestinationTooSmall);
    copy.status = OperationStatus::Failed();
    return copy;
  }
  DestinationOpen target = OpenCloneTarget(destination);
  if (!target.destination) {
    copy.status = OperationStatus::Failed(Format(
        text::kCannotOpenForWriting, destination.c_str(), ErrorText(target.error).c_str()));
    return copy;
  }
  copy.destination = std::move(target.destination);
  const MediumLabel from = DescribeMedium(state.host(), source, SourceBytes(src));
  const MediumLabel to = DescribeMedium(state.host(), destination, dest_bytes);
  copy.heading.text = Format(text::kCloningDiskHeading, from.model.c_str(), from.size.c_str(),
                             from.serial.c_str());
  copy.heading.detail =
      Format(text::kCloningDiskDetail, to.model.c_str(), to.size.c_str(), to.serial.c_str());
  return copy;
}

PreparedImage PrepareImage(EngineState& state, const std::string& source,
                           std::uint16_t forced_sector_size, const std::string& image) {
  PreparedImage copy;
  copy.status = OpenCopySource(state, source, forced_sector_size, image);
  if (!copy.status.completed()) return copy;
  copy.bytes_needed = SourceBytes(state.source);
  const std::optional<std::uint64_t> space = SpaceForImage(image);
  if (!space) {
    state.host().ShowMessage(MessageIcon::kInformation, text::kCaptionProduct,
                             text::kImageSpaceUnknown);
    copy.status = OperationStatus::Failed();
    return copy;
  }
  copy.bytes_free = *space;
  if (copy.bytes_needed > copy.bytes_free &&
      !state.host().AskYesNo(text::kCaptionProduct, text::kImageSpaceLow)) {
    copy.declined = true;
    copy.status = OperationStatus::Failed();
    return copy;
  }
  DestinationOpen created = CreateImageFile(image);
  if (!created.destination) {
    copy.status = OperationStatus::Failed(
        Format(text::kCannotCreateImage, image.c_str(), ErrorText(created.error).c_str()));
    return copy;
  }
  copy.destination = std::move(created.destination);
  const MediumLabel label = DescribeMedium(state.host(), source, copy.bytes_needed);
  copy.heading.text = Format(text::kImagingDiskHeading, label.model.c_str(), label.size.c_str(),
                             label.serial.c_str());
  copy.heading.detail = Format(text::kImagingDiskDetail, image.c_str());
  return copy;
}

CopyOutcome CopyWholeSource(EngineState& state, CopyKind kind, PreparedCopy& copy,
                            RunControl& run) {
  state.host().AddLogEntry(copy.heading);
  const CopyJob job{kind, state.source.total_sectors(), kCopySectorsPerStep};
  return RunCopy(state.source, *copy.destination, job, copy.heading, state.host(), run).outcome;
}

}  // namespace salvor
