#include "carver/ui/ui_text.h"

#include <QRegularExpression>

#include "carver/texts.h"

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

QString FormatText(std::string_view pattern, const QStringList& args) {
  static const QRegularExpression placeholder(QStringLiteral("%([1-9])(![a-zA-Z0-9]*!)?"));
  const QString text = Text(pattern);
  QString out;
  qsizetype last = 0;
  auto it = placeholder.globalMatch(text);
  while (it.hasNext()) {
    const auto m = it.next();
    out += text.mid(last, m.capturedStart() - last);
    const int n = m.captured(1).toInt() - 1;
    out += n < args.size() ? args[n] : m.captured(0);
    last = m.capturedEnd();
  }
  out += text.mid(last);
  return out;
}

QString CounterSizeText(quint64 bytes) {
  if (bytes == 0) return Text(text::kZeroData);
  const Scaled s = Scale(bytes);
  return QStringLiteral("[%1 %2]").arg(s.value, 0, 'f', 2).arg(QLatin1String(s.unit));
}

QString TotalsSizeText(quint64 bytes) {
  const Scaled s = Scale(bytes);
  return QStringLiteral("%1 %2").arg(s.value, 7, 'f', 3).arg(QLatin1String(s.unit));
}

}  // namespace salvor::carver::ui
