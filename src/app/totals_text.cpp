#include "app/totals_text.h"

#include "disk/text_format.h"
#include "disk/texts.h"

namespace salvor {

std::string TotalsText(const Totals& t, bool marked) {
  constexpr std::uint64_t kMb = 1048576;
  constexpr std::uint64_t kGb = 1073741824;
  const double b = static_cast<double>(t.bytes);
  std::string out = marked ? std::string(text::kMarkedPrefix) : std::string();
  if (t.bytes < kMb)
    out += Format(text::kTotalsKb, b / 1024.0, t.files, t.folders);
  else if (t.bytes < kGb)
    out += Format(text::kTotalsMb, b / static_cast<double>(kMb), t.files, t.folders);
  else
    out += Format(text::kTotalsGb, b / static_cast<double>(kGb), t.files, t.folders);
  return out;
}

std::string ClearedTotalsText() { return std::string(49, ' '); }

}  // namespace salvor
