#pragma once
// An owned file descriptor, closed when it goes: the one wrapper for the
// files and folders that saves create and the folders they walk.

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
  // Gives the descriptor up without closing it.
  int Release();
  // Closes now; 0 or the errno of close (where a delayed write error shows).
  int Reset();

 private:
  int fd_ = -1;
};

}  // namespace salvor
