#pragma once
// Writing whole buffers to a file descriptor. write and pwrite may take fewer
// bytes than asked (a signal, a nearly full disk): these go on until all is
// written or the kernel says why not.

#include <cstdint>
#include <span>

namespace salvor {

// 0, or the errno that stopped the write. A write that takes nothing at all
// counts as a full device (ENOSPC).
int WriteFully(int fd, std::span<const std::uint8_t> bytes);
// The same at a byte offset, leaving the descriptor's position alone.
int WriteFullyAt(int fd, std::span<const std::uint8_t> bytes, std::uint64_t offset);

}  // namespace salvor
