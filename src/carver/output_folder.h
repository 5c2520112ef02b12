#pragma once
// The folder a save writes into: "DataKLT<n>" inside the destination, n the
// smallest number from 0 up whose folder can be created. The search is
// bounded, and stops at once on errors that no other number would avoid (a
// read-only or full destination), so an unwritable destination ends the save
// with "Failed to write in destination disk." instead of retrying forever.

#include <optional>
#include <string>

#include "carver/folder_handle.h"
#include "disk/host.h"

namespace salvor::carver {

inline constexpr unsigned kOutputFolderTries = 10000;

struct OutputFolder {
  unsigned number = 0;
  std::string name;  // "DataKLT<n>"
  UniqueFd folder;
};

// nullopt after telling the user "Failed to write in destination disk.".
std::optional<OutputFolder> CreateOutputFolder(int destination, Host& host,
                                               unsigned tries = kOutputFolderTries);

}  // namespace salvor::carver
