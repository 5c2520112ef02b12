#pragma once
// The carving scan: reads the disk from the first sector to the last in
// windows of 63 sectors, matches the selected signatures at the start of every
// sector, and turns hits into found files measured by the end handlers.

#include <cstdint>
#include <functional>

#include "carver/carve_disk.h"
#include "carver/found_tree.h"
#include "carver/handler_context.h"
#include "carver/signature_database.h"
#include "carver/signature_groups.h"
#include "disk/host.h"
#include "disk/run_control.h"

namespace salvor::carver {

inline constexpr std::uint64_t kWindowSectors = 63;
inline constexpr std::uint64_t kLengthWithoutAny = 2u << 20;  // 2 MiB

// Told of every registered file, with the files-found count after it.
using FoundListener = std::function<void(const FoundNode& file, std::uint32_t files_found)>;

struct ScanOptions {
  FoundListener on_found;
};

struct CarvingScanResult {
  FoundTree tree;
  std::uint32_t files_found = 0;
  bool completed = false;     // ran to the end: the running flag was still set
  bool disconnected = false;  // ended by a vanished disk (or lack of memory)
  std::uint64_t windows_read = 0;
  // Files whose measure reached past the disk's end and were cut at it.
  std::uint32_t files_cut_at_end = 0;
};

// The first nonzero of found length, maximum length and default length,
// else 2 MiB.
std::uint64_t MeasuredLength(const SignatureRecord& rec);
// The length a found file gets: its measured length cut at the end of the disk.
std::uint64_t FoundFileLength(const SignatureRecord& rec, std::uint64_t start_sector,
                              std::uint64_t total_sectors, std::uint32_t sector_size);

// Runs one scan with the selected records (KeepSelected's list). The
// continuation lists are emptied first, so a second scan starts clean. The
// scan shows nothing of its end: its caller does, once (AnnounceScanEnd).
CarvingScanResult RunCarvingScan(CarveDisk& disk, const SignatureList& selected,
                                 ContinuationLists& lists, Host& host, RunControl& run,
                                 const ScanOptions& options = {});

// What a scan window shows when the scan has ended: progress 100 % and
// "Scanning Completed." when it ran to its end, nothing otherwise.
void AnnounceScanEnd(const CarvingScanResult& result, Host& host);

}  // namespace salvor::carver
