#pragma once
// Saving and loading scan results from the command line: --save/--load of a
// disk scan information file (.vkd) on partitions, --save-scan/--load-scan of
// a partition scan information file (.vkt) on ls and recover. A loaded file
// names its own source, so SOURCE is then left out.

#include <CLI/CLI.hpp>
#include <string>

#include "cli/cli_context.h"

namespace salvor::cli {

struct ScanInfoOptions {
  std::string save;
  std::string load;
};

// Adds --save FILE.vkd and --load FILE.vkd (which excludes `source`).
void AddPartitionInfoOptions(CLI::App* cmd, ScanInfoOptions& options, CLI::Option* source);
// Adds --save-scan FILE.vkt and --load-scan FILE.vkt (which excludes `source`).
void AddTreeInfoOptions(CLI::App* cmd, ScanInfoOptions& options, CLI::Option* source);

// SOURCE is needed unless a file is loaded; says so and sets the usage exit
// status when both are missing.
bool HasSourceOrLoad(CliContext& ctx, const std::string& source, const ScanInfoOptions& options);

}  // namespace salvor::cli
