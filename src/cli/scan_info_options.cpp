#include "cli/scan_info_options.h"

#include <cstdio>


namespace salvor::cli {
void AddPartitionInfoOptions(CLI::App* cmd, ScanInfoOptions& options, CLI::Option* source) {
  cmd->add_option("--save", options.save,
                  "Save the source and its volumes as disk scan information (.vkd)");
  cmd->add_option("--load", options.load,
                  "List the volumes saved in a .vkd instead of reading a SOURCE")
      ->excludes(source);
}

void AddTreeInfoOptions(CLI::App* cmd, ScanInfoOptions& options, CLI::Option* source) {
  cmd->add_option("--save-scan", options.save,
                  "Save the rebuilt tree as partition scan information (.vkt)");
  cmd->add_option("--load-scan", options.load,
                  "Use the tree saved in a .vkt instead of scanning a SOURCE")
      ->excludes(source);
}

bool HasSourceOrLoad(CliContext& ctx, const std::string& source, const ScanInfoOptions& options) {
  if (!source.empty() || !options.load.empty()) return true;
  std::fprintf(stderr, "salvor-cli: SOURCE is required unless a scan information file is loaded\n");
  ctx.exit_status = kExitUsage;
  return false;
}

}  // namespace salvor::cli
