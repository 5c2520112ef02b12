#include "app/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace salvor {
namespace {

std::string RuntimeFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0') {
    return runtime;
  }
  // Without a runtime folder the locks live in a folder only this user may
  // enter, so another user cannot hold them on our behalf.
  std::string folder = "/tmp/salvor-" + std::to_string(getuid());
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return "/tmp";
  return folder;
}

// Opens the lock file of `name`, creating it when missing. -1 on failure.
int OpenLockFile(std::string_view name, std::string* error) {
  const std::string path = InstanceLock::PathOf(name);
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0 && error != nullptr) *error = path + ": " + std::strerror(errno);
  return fd;
}

}  // namespace

std::string InstanceLock::PathOf(std::string_view name) {
  return RuntimeFolder() + "/" + std::string(name) + ".lock";
}

std::optional<InstanceLock> InstanceLock::Acquire(std::string_view name, std::string* error) {
  const int fd = OpenLockFile(name, error);
  if (fd < 0) return std::nullopt;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (error != nullptr && errno != EWOULDBLOCK) *error = PathOf(name) + ": " + std::strerror(errno);
    close(fd);
    return std::nullopt;
  }
  // The holder's process id, for a person looking at the folder; the lock
  // itself is what counts.
  const std::string pid = std::to_string(getpid()) + "\n";
  if (ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t written = pwrite(fd, pid.data(), pid.size(), 0);
  }
  return InstanceLock(fd);
}

bool InstanceLock::IsHeld(std::string_view name) {
  const std::string path = PathOf(name);
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // A shared lock succeeds only when no one holds the exclusive one.
  // Our own exclusive lock is on another open file description, so flock
  // refuses here too and the answer is the same for this process.
  const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(fd);
  return held;
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) close(fd_);  // closing the last descriptor releases the lock
}

}  // namespace salvor
