#include "disk/open_failure.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "disk/block_device.h"
#include "disk/sector_source.h"
#include "disk/texts.h"

namespace salvor {
namespace {

std::string GroupName(gid_t gid) {
  if (const group* g = getgrgid(gid)) return g->gr_name;
  return std::to_string(gid);
}

std::string UserName() {
  const char* user = std::getenv("USER");
  return user && *user ? user : "$USER";
}

}  // namespace

bool IsPermissionError(int error) { return error == EACCES || error == EPERM; }

std::string OpenFailureText(const std::string& path, int error) {
  struct stat st {};
  // stat needs no read right on the device itself, only on its folder.
  if (!IsPermissionError(error) || stat(path.c_str(), &st) != 0)
    return ErrorText(error);
  if (!S_ISBLK(st.st_mode)) return Format(text::kNoPermissionFile, path.c_str());
  const std::string group = GroupName(st.st_gid);
  return Format(text::kNoPermissionDisk, path.c_str(), group.c_str(), group.c_str(),
                UserName().c_str());
}

}  // namespace salvor
