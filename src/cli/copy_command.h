#pragma once
// What the image and clone subcommands share: running a prepared copy with
// its progress line.

#include "app/copy_operations.h"
#include "cli/cli_context.h"

namespace salvor::cli {

// Prints why a copy could not be prepared, or runs it; the exit status is 0
// only when every sector reached the destination.
void RunCopyCommand(CliContext& ctx, CopyKind kind, PreparedCopy& copy);

}  // namespace salvor::cli
