#pragma once
// What ls, recover and cat start from: the chosen volume of SOURCE with its
// tree rebuilt (from its MFT, or by the Turbo Scan) or loaded from a saved
// scan, in the user's scan database, opened for reading.

#include <string>

#include "cli/cli_context.h"
#include "cli/scan_info_options.h"
#include "cli/volume_choice.h"
#include "cli/volume_search.h"
#include "ntfs/private_folder.h"
#include "ntfs/scan_database_reader.h"

namespace salvor::cli {

struct VolumeTree {
  DatabaseFolderLock lock;  // held while the database is in use
  ScanDatabaseReader db;
  bool stopped = false;  // Ctrl+C ended the rebuild early; the tree is partial
};

// The options that pick the volume and how its tree is made: from the
// partition tables or a search for lost volumes (--search), then --volume or
// --volume-start; --turbo for the Turbo Scan; --save-scan / --load-scan.
struct VolumeOptions {
  VolumeSearch search;
  VolumeChoice choice;
  ScanInfoOptions scan_info;
  bool turbo = false;
};
void AddVolumeTreeOptions(CLI::App* cmd, VolumeOptions& options, CLI::Option* source);

// Opens SOURCE, chooses the volume, rebuilds its tree (or loads a saved scan)
// and reopens the database for reading, each step an operation that logs
// itself. False after printing why (the exit status is then set).
bool OpenVolumeTree(CliContext& ctx, const std::string& source, const VolumeOptions& options,
                    VolumeTree& tree);

}  // namespace salvor::cli
