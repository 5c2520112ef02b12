#include "ntfs/save_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "disk/block_device.h"
#include "disk/disk_info.h"
#include "disk/sector_source.h"
#include "disk/texts.h"
#include "ntfs/safe_name.h"

namespace salvor {

std::optional<UniqueFd> OpenDestination(const std::string& path, int* error) {
  int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = errno;
    return std::nullopt;
  }
  return UniqueFd(fd);
}

RenameReason ClassifyCreateError(int error) {
  switch (error) {
    case EEXIST:
      return RenameReason::kExists;
    case ENAMETOOLONG:
    case ENOENT:
      return RenameReason::kTooLong;
    default:
      return RenameReason::kOther;
  }
}

namespace {

// One attempt; the descriptor or the errno.
int TryCreate(int parent_fd, const std::string& name, bool folder, UniqueFd& out) {
  if (folder) {
    if (mkdirat(parent_fd, name.c_str(), 0777) != 0) return errno;
    // O_NOFOLLOW: should the new folder be swapped for a symlink between the
    // two calls, the walk must not follow it out of the destination.
    int fd = openat(parent_fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return errno;
    out = UniqueFd(fd);
    return 0;
  }
  // O_EXCL never follows a symlink at the name and never opens what exists.
  int fd = openat(parent_fd, name.c_str(),
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  out = UniqueFd(fd);
  return 0;
}

}  // namespace

std::optional<CreatedTarget> CreateTarget(Host& host, int parent_fd, std::u16string_view entry_name,
                                          bool folder) {
  CreatedTarget target;
  target.name = SafeTargetName(entry_name);
  for (;;) {
    int error = TryCreate(parent_fd, target.name, folder, target.fd);
    if (error == 0) return target;
    const RenameReason reason = ClassifyCreateError(error);
    if (reason == RenameReason::kOther) {
      host.ShowError(ErrorText(error));
      throw UserException(ErrorText(error));
    }
    auto answer = host.AskRename(target.name, RenameReasonText(reason));
    if (!answer) {
      host.AddLogEntry({Utf16ToUtf8(entry_name), std::string(text::kFileSkipped), {},
                        LogKind::kFailure});
      return std::nullopt;
    }
    target.name = SafeTargetName(std::string_view(*answer));
  }
}

}  // namespace salvor
