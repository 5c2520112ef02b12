#pragma once
// Creating the files and folders of a save. Everything is created relative
// to an open directory of the destination tree (openat/mkdirat), never
// through the process's current directory and never through a symlink that
// already sits in the destination; an existing item is never overwritten.

#include <optional>
#include <string>
#include <string_view>

#include "disk/host.h"
#include "disk/unique_fd.h"
#include "ntfs/rename_rules.h"

namespace salvor {

// The destination folder itself, as the user named it. nullopt with `error`
// set when it cannot be opened as a directory.
std::optional<UniqueFd> OpenDestination(const std::string& path, int* error);

// How a failed create is answered: EEXIST asks for a new name because the
// name is taken, ENAMETOOLONG and ENOENT because it is too long (ENOENT is
// what a path gives that no longer reaches its folder); anything else ends
// the save.
RenameReason ClassifyCreateError(int error);

struct CreatedTarget {
  std::string name;  // the name it was created under, in its folder
  UniqueFd fd;       // the file open for writing, or the folder open for reading
};

// Creates the file or folder for an entry called `entry_name` inside
// `parent_fd`, under its safe name (SafeTargetName). A name that is taken or
// too long is put to the host's rename question until it succeeds or the
// host skips; a skip is logged as "file skipped" with the entry's name and
// gives nullopt. Any other failure is shown and raised as UserException.
std::optional<CreatedTarget> CreateTarget(Host& host, int parent_fd, std::u16string_view entry_name,
                                          bool folder);

}  // namespace salvor
