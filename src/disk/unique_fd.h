#pragma once
// The one owner of a file descriptor: closed when it goes.

namespace salvor {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Release();
  // Closes the descriptor now; 0 or the errno of close (where a write error
  // the kernel deferred shows).
  int Reset();

 private:
  int fd_ = -1;
};

}  // namespace salvor
