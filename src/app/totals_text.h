#pragma once
// The status bar's totals: bytes, files and folders of all entries or of the
// marked ones, in KB below 1 MiB, in MB below 1 GiB, else in GB.

#include <cstdint>
#include <string>

namespace salvor {

struct Totals {
  std::uint64_t bytes = 0;
  std::uint32_t files = 0;
  std::uint32_t folders = 0;
};

std::string TotalsText(const Totals& totals, bool marked);
// What a request to clear the totals pane writes.
std::string ClearedTotalsText();

}  // namespace salvor
