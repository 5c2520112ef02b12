#include "carver/ui/hex_view.h"

#include <QFontDatabase>
#include <QPainter>
#include <QScrollBar>

namespace salvor::carver::ui {

CHexView::CHexView(QByteArray bytes, QWidget* parent)
    : QAbstractScrollArea(parent), bytes_(std::move(bytes)) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setAccessibleName(QStringLiteral("Hex view"));
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setBackgroundRole(QPalette::Base);
  UpdateScrollBars();
}

int CHexView::LineHeight() const { return fontMetrics().lineSpacing(); }

QString CHexView::LineText(qsizetype line) const {
  QString hex, chars;
  for (int i = 0; i < kBytesPerLine; ++i) {
    const qsizetype at = line * kBytesPerLine + i;
    if (at < bytes_.size()) {
      const auto byte = static_cast<unsigned char>(bytes_[at]);
      hex += QStringLiteral("%1 ").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
      chars += byte >= 0x20 && byte < 0x7F ? QChar(byte) : QChar('.');
    } else {
      hex += QStringLiteral("   ");
    }
  }
  return QStringLiteral("Line %1:    ").arg(line, 8, 10, QLatin1Char('0')) + hex + QLatin1Char(' ') +
         chars;
}

void CHexView::UpdateScrollBars() {
  const int visible = qMax(1, viewport()->height() / LineHeight());
  verticalScrollBar()->setRange(0, static_cast<int>(qMax<qsizetype>(0, LineCount() - visible)));
  verticalScrollBar()->setPageStep(visible);
  const int width = fontMetrics().horizontalAdvance(LineText(0)) + 8;
  horizontalScrollBar()->setRange(0, qMax(0, width - viewport()->width()));
  horizontalScrollBar()->setPageStep(viewport()->width());
}

void CHexView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void CHexView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.setFont(font());
  painter.setPen(palette().color(QPalette::Text));
  const int height = LineHeight();
  const qsizetype first = verticalScrollBar()->value();
  const int x = 4 - horizontalScrollBar()->value();
  int y = fontMetrics().ascent() + 2;
  for (qsizetype line = first; line < LineCount() && y - height < viewport()->height(); ++line) {
    painter.drawText(x, y, LineText(line));
    y += height;
  }
}

}  // namespace salvor::carver::ui
