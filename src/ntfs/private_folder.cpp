#include "ntfs/private_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "disk/block_device.h"
#include "disk/sector_source.h"
#include "disk/texts.h"

namespace salvor {

std::filesystem::path TemporaryBase() {
  for (const char* name : {"TEMP", "TMPDIR"}) {
    const char* value = std::getenv(name);
    if (value && *value) return value;
  }
  return "/tmp";
}

bool MakePrivateFolder(const std::filesystem::path& folder, std::string& error) {
  const std::string shown = folder.string();
  if (mkdir(shown.c_str(), 0700) != 0 && errno != EEXIST) {
    error = Format(text::kPrivateFolderCannotCreate, shown.c_str(), ErrorText(errno).c_str());
    return false;
  }
  // Open the folder itself without following a link, then judge what was
  // opened, so that nothing can be swapped in between the test and the use.
  int fd = open(shown.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    int e = errno;
    struct stat st {};
    if (lstat(shown.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
      error = Format(text::kPrivateFolderIsLink, shown.c_str());
    else if (e == ENOTDIR)
      error = Format(text::kPrivateFolderNotFolder, shown.c_str());
    else
      error = Format(text::kPrivateFolderCannotOpen, shown.c_str(), ErrorText(e).c_str());
    return false;
  }
  struct stat st {};
  bool ok = fstat(fd, &st) == 0;
  if (!ok) {
    error = Format(text::kPrivateFolderCannotOpen, shown.c_str(), ErrorText(errno).c_str());
  } else if (!S_ISDIR(st.st_mode)) {
    error = Format(text::kPrivateFolderNotFolder, shown.c_str());
    ok = false;
  } else if (st.st_uid != geteuid()) {
    error = Format(text::kPrivateFolderNotOwned, shown.c_str());
    ok = false;
  } else if ((st.st_mode & 07777) != 0700 && fchmod(fd, 0700) != 0) {
    error = Format(text::kPrivateFolderCannotProtect, shown.c_str(), ErrorText(errno).c_str());
    ok = false;
  }
  close(fd);
  return ok;
}

std::optional<std::filesystem::path> PrivateDatabaseFolder(std::string& error) {
  std::string name = "salvor-";
  name += std::to_string(geteuid());
  std::filesystem::path folder = TemporaryBase() / name;
  if (!MakePrivateFolder(folder, error)) return std::nullopt;
  return folder;
}

DatabaseFolderLock::~DatabaseFolderLock() {
  if (fd_ >= 0) close(fd_);
}

bool DatabaseFolderLock::Acquire(const std::filesystem::path& folder, std::string& error) {
  const std::filesystem::path path = folder / "salvor.lock";
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    error = Format(text::kPrivateFolderCannotOpen, path.c_str(), ErrorText(errno).c_str());
    return false;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int e = errno;
    close(fd);
    error = e == EWOULDBLOCK
                ? Format(text::kScanDatabaseInUse, folder.c_str())
                : Format(text::kPrivateFolderCannotOpen, path.c_str(), ErrorText(e).c_str());
    return false;
  }
  if (fd_ >= 0) close(fd_);
  fd_ = fd;
  return true;
}

}  // namespace salvor
