#pragma once
// Folders of a save are reached through open directory handles, never
// through the current directory or a path walked again: an item is created
// with openat/mkdirat inside its folder, and no symlink is followed there.

#include <string>

namespace salvor::carver {

// An open file or folder, closed when it goes.
class OwnedFd {
 public:
  OwnedFd() = default;
  explicit OwnedFd(int fd) : fd_(fd) {}
  ~OwnedFd();
  OwnedFd(OwnedFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  OwnedFd& operator=(OwnedFd&& other) noexcept;
  OwnedFd(const OwnedFd&) = delete;
  OwnedFd& operator=(const OwnedFd&) = delete;

  int fd() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now; 0 or the errno of close (where a delayed write error shows).
  int Close();

 private:
  int fd_ = -1;
};

// The folder the user named (a symlink there is the user's own choice).
// Invalid with `error` set when it is not an openable folder.
OwnedFd OpenFolderPath(const std::string& path, int& error);

// The folder `name` inside `parent`, not through a symlink.
OwnedFd OpenSubfolder(int parent, const std::string& name, int& error);

// Creates the folder `name` inside `parent` and opens it. 0 or the errno
// (EEXIST when the name is taken, by anything).
int MakeSubfolder(int parent, const std::string& name, OwnedFd& made);

// Opens `name` inside `parent`, creating it when missing; an existing symlink
// or file there is an error, not a folder.
int OpenOrMakeSubfolder(int parent, const std::string& name, OwnedFd& folder);

// Deletes the folder `name` inside `parent` with everything in it, without
// following symlinks. 0 or the first errno.
int RemoveFolderTree(int parent, const std::string& name);

}  // namespace salvor::carver
