#pragma once
// Copying a whole source, sector by sector, to an image file or to another
// disk. The source is only read; the destination receives every sector in
// order, and an image's sector 0 carries the source's sector count and
// sector size so that it can be opened as a source later.

#include <cstdint>
#include <optional>
#include <span>

#include "disk/failure.h"
#include "disk/host.h"
#include "disk/run_control.h"
#include "disk/sector_source.h"
#include "partitions/copy_destination.h"

namespace salvor {

inline constexpr std::uint32_t kCopySectorsPerStep = 256;
// Where an image's sector 0 carries the source's geometry.
inline constexpr std::size_t kStampTotalSectors = 0x1B0;   // u64
inline constexpr std::size_t kStampBytesPerSector = 0x1BC;  // u16

enum class CopyKind : std::uint8_t { kCloning = 0, kImaging = 1 };

enum class CopyOutcome : std::uint8_t {
  kCompleted = 1,
  kAborted = 2,  // stopped by the user
  kFailed = 3,   // a read or write error ended it (already shown)
};

struct CopyJob {
  CopyKind kind = CopyKind::kImaging;
  std::uint64_t sector_count = 0;  // from sector 0
  std::uint32_t sectors_per_step = kCopySectorsPerStep;
};

struct CopyResult {
  CopyOutcome outcome = CopyOutcome::kCompleted;
  std::uint64_t sectors_written = 0;  // from sector 0, in order
  // A write or flush of the destination that failed; the caller shows it.
  std::optional<Failure> failure;
};

// Writes the image stamps into a copy of sector 0 (at least 0x1BE bytes).
void StampImageSector0(std::span<std::uint8_t> sector0, std::uint64_t total_sectors,
                       std::uint16_t bytes_per_sector);

// Copies whole steps, then the remaining sectors one by one. Before each step
// after the first it reports progress (sector reached, count) and honours the
// pause gate and the running flag; a stop ends the copy with the steps
// written so far. Unreadable sectors are written as zeros (the source logs
// them). A step whose read a stop cut short is not written. Images are
// stamped, clones are the source sector for sector. A failed write ends the
// copy with the failure in the result, not shown.
CopyResult CopySectors(SectorSource& source, CopyDestination& destination, const CopyJob& job,
                       Host& host, RunControl& run);

// The cloning and imaging worker: runs the copy and reports its end: a
// failed write's error, the message ("Disk Imaging Completed" ...) and the
// heading entry logged again as "Completed <heading>" (kind 2) or "Aborted
// <heading>" (kind 1).
CopyResult RunCopy(SectorSource& source, CopyDestination& destination, const CopyJob& job,
                   const LogEntry& heading, Host& host, RunControl& run);

// The end of a copy as the user sees it: the message and the heading logged
// again as completed or aborted.
void ReportCopyEnd(CopyKind kind, CopyOutcome outcome, const LogEntry& heading, Host& host);

// The Stop button of a running copy: pauses the worker, logs the pause, asks
// whether to stop; yes stops it, no logs the resumption and lets it go on.
void AskToStopCopy(CopyKind kind, Host& host, RunControl& run);

}  // namespace salvor
