#pragma once
// --report FILE and --report-format jsonl|dfxml, shared by recover and carve.

#include <string>

#include <CLI/CLI.hpp>

namespace salvor::cli {

// `needs`: the option the report depends on (carve's --out), or nullptr.
void AddReportOptions(CLI::App* cmd, std::string& report, std::string& format,
                      CLI::Option* needs = nullptr);

}  // namespace salvor::cli
