#include "carver/ui/ui_text.h"

#include "carver/texts.h"
#include "disk/text_format.h"

namespace salvor::carver::ui {
namespace {

struct Scaled {
  double value;
  const char* unit;
};

// GB from 2^30 bytes, MB above 0xFFFFF, else KB.
Scaled Scale(quint64 bytes) {
  if (bytes >= (quint64{1} << 30)) return {static_cast<double>(bytes) / (1 << 30), "GB"};
  if (bytes > 0xFFFFF) return {static_cast<double>(bytes) / (1 << 20), "MB"};
  return {static_cast<double>(bytes) / 1024, "KB"};
}

}  // namespace

QString CounterSizeText(quint64 bytes) {
  if (bytes == 0) return Text(text::kZeroData);
  const Scaled s = Scale(bytes);
  return Text(Format(text::kCounterSize, s.value, s.unit));
}

QString TotalsSizeText(quint64 bytes) {
  const Scaled s = Scale(bytes);
  return Text(Format(text::kTotalsSize, s.value, s.unit));
}

}  // namespace salvor::carver::ui
