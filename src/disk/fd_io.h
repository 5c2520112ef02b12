#pragma once
// Reading and writing whole buffers through a file descriptor. read and write
// calls may move fewer bytes than asked (a signal, a nearly full disk): these
// go on until all is done or the kernel says why not.

#include <cstddef>
#include <cstdint>
#include <span>

namespace salvor {

// 0, or the errno that stopped the write. A write that takes nothing at all
// counts as a full device (ENOSPC).
int WriteFully(int fd, std::span<const std::uint8_t> bytes);
// The same at a byte offset, leaving the descriptor's position alone.
int WriteFullyAt(int fd, std::span<const std::uint8_t> bytes, std::uint64_t offset);

// Fills `bytes` from a byte offset, or up to the file's end: `got` says how
// many were read, the rest keep their contents. 0, or the errno of a failed
// read (EINVAL for an offset no file can have).
int ReadFullyAt(int fd, std::span<std::uint8_t> bytes, std::uint64_t offset, std::size_t& got);

}  // namespace salvor
