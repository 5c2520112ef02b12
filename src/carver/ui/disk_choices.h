#pragma once
// The entries of the disk selection tree: each physical disk with the path it
// is opened by. A disk is always opened by its own device path, never by a
// number taken back out of its label, so "Disk # 10" opens the tenth disk.

#include <QString>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "disk/disk_list.h"

namespace salvor::carver::ui {

struct DiskChoice {
  QString label;  // "Disk # " and the disk's place in the list
  std::filesystem::path device_path;
  DiskListEntry entry;
};

// Where the disk list comes from: the machine's disks by default; tests give
// their own list and device folder.
struct DiskSource {
  std::function<std::vector<DiskListEntry>(Host&)> list;
  std::filesystem::path device_dir = "/dev";
};
DiskSource MachineDisks();

std::vector<DiskChoice> MakeDiskChoices(const std::vector<DiskListEntry>& disks,
                                        const std::filesystem::path& device_dir);

// The information panel of one disk, as HTML.
QString DiskPanelHtml(const DiskChoice& disk);
// The panel of the "Image file..." entry.
QString ImagePanelHtml();

}  // namespace salvor::carver::ui
