#pragma once
// Trawler's string table entries as Qt strings, with the "%1"/"%1!u!"
// placeholders of its messages filled in.

#include <QString>
#include <QStringList>
#include <string_view>

namespace salvor::carver::ui {

inline QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Replaces %1 ... %9, each with an optional "!u!"-style type suffix, by the
// arguments in order; a placeholder without an argument stays as it is.
QString FormatText(std::string_view pattern, const QStringList& args);

// Found files' sizes: "[%-.2f KB]" (MB, GB) for the counters, "[0.0 KB]" for none.
QString CounterSizeText(quint64 bytes);
// The processing page's totals: "%7.3f GB" (MB, KB).
QString TotalsSizeText(quint64 bytes);

}  // namespace salvor::carver::ui
