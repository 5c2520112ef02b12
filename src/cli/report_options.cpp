#include "cli/report_options.h"

namespace salvor::cli {

void AddReportOptions(CLI::App* cmd, std::string& report, std::string& format, CLI::Option* needs) {
  auto* file = cmd->add_option("--report", report,
                               "Write a record of every item (outcome, sizes, SHA-256) to FILE")
                   ->type_name("FILE");
  if (needs) file->needs(needs);
  cmd->add_option("--report-format", format, "jsonl (JSON Lines, the default) or dfxml")
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"jsonl", "dfxml"}))
      ->needs(file);
}

}  // namespace salvor::cli
