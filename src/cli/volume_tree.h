#pragma once
// What recover and cat start from: the chosen volume of SOURCE with its tree
// rebuilt into the user's scan database and opened for reading.

#include <string>

#include "cli/cli_context.h"
#include "cli/volume_choice.h"
#include "cli/volume_search.h"
#include "ntfs/private_folder.h"
#include "ntfs/scan_database.h"

namespace salvor::cli {

struct VolumeTree {
  explicit VolumeTree(Host& host) : db(host) {}
  DatabaseFolderLock lock;  // held while the database is in use
  ScanDatabase db;
  bool stopped = false;  // Ctrl+C ended the rebuild early; the tree is partial
};

// The options that pick the volume: from the partition tables, or from a
// search for lost volumes (--search), then --volume or --volume-start.
struct VolumeOptions {
  VolumeSearch search;
  VolumeChoice choice;
};
void AddVolumeTreeOptions(CLI::App* cmd, VolumeOptions& options);

// Opens SOURCE, chooses the volume, rebuilds its tree and reopens the
// database for reading, logging each step as the GUI does. False after
// printing why (the exit status is then set).
bool OpenVolumeTree(CliContext& ctx, const std::string& source, const VolumeOptions& options,
                    VolumeTree& tree);

}  // namespace salvor::cli
