#pragma once
// Folders of a save are reached through open directory handles, never
// through the current directory or a path walked again: an item is created
// with openat/mkdirat inside its folder, and no symlink is followed there.

#include <string>

#include "disk/unique_fd.h"

namespace salvor::carver {

// The folder the user named (a symlink there is the user's own choice).
// Invalid with `error` set when it is not an openable folder.
UniqueFd OpenFolderPath(const std::string& path, int& error);

// The folder `name` inside `parent`, not through a symlink.
UniqueFd OpenSubfolder(int parent, const std::string& name, int& error);

// Creates the folder `name` inside `parent` and opens it. 0 or the errno
// (EEXIST when the name is taken, by anything).
int MakeSubfolder(int parent, const std::string& name, UniqueFd& made);

// Opens `name` inside `parent`, creating it when missing; an existing symlink
// or file there is an error, not a folder.
int OpenOrMakeSubfolder(int parent, const std::string& name, UniqueFd& folder);

// Deletes the folder `name` inside `parent` with everything in it, without
// following symlinks. 0 or the first errno.
int RemoveFolderTree(int parent, const std::string& name);

}  // namespace salvor::carver
