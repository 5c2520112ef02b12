#include "ui/wizard/scan_area.h"

#include <QPainter>
#include <QPalette>

namespace salvor::ui {

QColor ScanAreaColour() { return QPalette().color(QPalette::Active, QPalette::Highlight); }

CScanArea::CScanArea(QWidget* parent) : QWidget(parent) { setMinimumSize(16, 16); }

void CScanArea::SetArea(unsigned start_percent, unsigned end_percent) {
  start_ = start_percent;
  end_ = end_percent;
  update();
}

void CScanArea::SetBackground(const QColor& colour) {
  background_ = colour;
  update();
}

void CScanArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), background_);
  if (end_ < start_) return;
  const int from = static_cast<int>(width() * start_ / 100);
  const int to = static_cast<int>(width() * end_ / 100) + 1;
  painter.fillRect(QRect(from, 0, to - from, height()), ScanAreaColour());
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace salvor::ui
