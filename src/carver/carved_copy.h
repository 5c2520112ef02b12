#pragma once
// Writes a found file's bytes from the source disk into an open output file,
// 1 MiB at a time. Unreadable sectors are written as zeros (the reader clears
// what it cannot deliver); a vanished disk raises DiskDisconnected.

#include <cstdint>

#include "carver/carve_disk.h"
#include "carver/found_tree.h"
#include "disk/run_control.h"

namespace salvor::carver {

inline constexpr std::uint64_t kCopyPieceBytes = 1u << 20;

struct CopyResult {
  int write_error = 0;   // errno of the write that failed; the copy stopped there
  bool stopped = false;  // the running flag was cleared midway
};

CopyResult CopyFileData(SectorReader& reader, const FoundNode& file, int out_fd, RunControl& run);

}  // namespace salvor::carver
