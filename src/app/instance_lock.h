#pragma once
// A lock named after a program, held for the life of the process that owns it.
// Both desktop programs use it to refuse a second copy of themselves and to
// learn whether the other program runs. It is a file in the user's runtime
// folder locked with flock(): the kernel drops the lock when its holder dies,
// so a lock left behind by a crashed process is free for the next one.

#include <optional>
#include <string>
#include <string_view>

namespace salvor {

class InstanceLock {
 public:
  // Takes the lock called `name`, or returns nullopt when a live process holds
  // it (or the lock file cannot be made: then `error`, if given, says why).
  static std::optional<InstanceLock> Acquire(std::string_view name, std::string* error = nullptr);
  // Whether some live process, this one included, holds the lock `name`.
  static bool IsHeld(std::string_view name);
  // The lock file of `name`: $XDG_RUNTIME_DIR/<name>.lock, or a private folder
  // of this user under /tmp when there is no runtime folder.
  static std::string PathOf(std::string_view name);

  InstanceLock(InstanceLock&& other) noexcept;
  InstanceLock& operator=(InstanceLock&& other) noexcept;
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  ~InstanceLock();

 private:
  explicit InstanceLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

}  // namespace salvor
