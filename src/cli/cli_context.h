#pragma once
// What every subcommand shares: the global options, the host, the running
// flag and the engine state with the open source.

#include <cstdint>
#include <memory>
#include <string>

#include "app/operation_status.h"
#include "cli/cli_host.h"
#include "disk/run_control.h"
#include "ntfs/engine_state.h"

namespace salvor::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitStopped = 130;  // stopped by Ctrl+C; what was found is still printed

struct GlobalOptions {
  std::uint16_t sector_size = 0;  // 0 = from the device or the image
  std::string log_file;
  bool json = false;
};

struct CliContext {
  GlobalOptions options;
  CliHost host;
  RunControl run;
  EngineState state{host, run};
  int exit_status = kExitOk;
};

// Prints why an operation failed, when it says so itself.
void PrintFailure(const OperationStatus& status);

// Opens SOURCE (a block device or an image file) as the sector source,
// applying --sector-size. Prints the reason and returns false on failure.
bool OpenSourceArgument(CliContext& ctx, const std::string& path);

}  // namespace salvor::cli
