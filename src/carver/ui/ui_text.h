#pragma once
// Trawler's string table entries as Qt strings.

#include <QString>
#include <string>
#include <string_view>

namespace salvor::carver::ui {

inline QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString Text(const std::string& text) { return QString::fromStdString(text); }
inline QString Text(const char* text) { return QString::fromUtf8(text); }

// Found files' sizes: "[%-.2f KB]" (MB, GB) for the counters, "[0.0 KB]" for none.
QString CounterSizeText(quint64 bytes);
// The processing page's totals: "%7.3f GB" (MB, KB).
QString TotalsSizeText(quint64 bytes);

}  // namespace salvor::carver::ui
