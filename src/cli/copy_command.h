#pragma once
// What the image and clone subcommands share: naming a disk or image for the
// process log, and running a prepared copy with its progress line.

#include <cstdint>
#include <string>

#include "cli/cli_context.h"
#include "partitions/disk_copy.h"

namespace salvor::cli {

// Model, size text and serial number of a disk, as the disk list gives them;
// for an image file or a partition: its path, its size text and "N/A".
struct MediumLabel {
  std::string model;
  std::string size;
  std::string serial;
};
MediumLabel DescribeMedium(CliContext& ctx, const std::string& path, std::uint64_t bytes);

// Opens SOURCE read-only and refuses a destination that would write to it.
// False (reason shown, exit status set) when the copy cannot start.
bool PrepareCopySource(CliContext& ctx, const std::string& source, const std::string& destination);

// Logs the heading, copies the whole source and sets the exit status: 0 only
// when every sector reached the destination.
void RunCopyCommand(CliContext& ctx, CopyKind kind, CopyDestination& destination,
                    const LogEntry& heading);

}  // namespace salvor::cli
