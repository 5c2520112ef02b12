#include "carver/folder_handle.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace salvor::carver {

UniqueFd OpenFolderPath(const std::string& path, int& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  error = fd < 0 ? errno : 0;
  return UniqueFd(fd);
}

UniqueFd OpenSubfolder(int parent, const std::string& name, int& error) {
  const int fd = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  error = fd < 0 ? errno : 0;
  return UniqueFd(fd);
}

int MakeSubfolder(int parent, const std::string& name, UniqueFd& made) {
  if (::mkdirat(parent, name.c_str(), 0755) != 0) return errno;
  int error = 0;
  made = OpenSubfolder(parent, name, error);
  return error;
}

int OpenOrMakeSubfolder(int parent, const std::string& name, UniqueFd& folder) {
  const int made = MakeSubfolder(parent, name, folder);
  if (made != EEXIST) return made;
  int error = 0;
  folder = OpenSubfolder(parent, name, error);
  return error;
}

int RemoveFolderTree(int parent, const std::string& name) {
  int error = 0;
  UniqueFd folder = OpenSubfolder(parent, name, error);
  if (!folder.valid()) return error;
  // Read the names first: removing while reading may skip entries.
  std::vector<std::pair<std::string, bool>> items;
  if (DIR* dir = ::fdopendir(::dup(folder.get()))) {
    while (const dirent* d = ::readdir(dir)) {
      const std::string item = d->d_name;
      if (item == "." || item == "..") continue;
      struct stat st {};
      const bool is_folder = ::fstatat(folder.get(), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                             S_ISDIR(st.st_mode);
      items.emplace_back(item, is_folder);
    }
    ::closedir(dir);
  } else {
    return errno;
  }
  for (const auto& [item, is_folder] : items) {
    const int e = is_folder ? RemoveFolderTree(folder.get(), item)
                            : (::unlinkat(folder.get(), item.c_str(), 0) == 0 ? 0 : errno);
    if (e != 0 && error == 0) error = e;
  }
  if (::unlinkat(parent, name.c_str(), AT_REMOVEDIR) != 0 && error == 0) error = errno;
  return error;
}

}  // namespace salvor::carver
