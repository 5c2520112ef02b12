#include "ui/themes.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace {

QPalette Palette(QColor window, QColor base, QColor highlight, QColor button) {
  QPalette p;
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, Qt::black);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window.lighter(104));
  p.setColor(QPalette::Text, Qt::black);
  p.setColor(QPalette::Button, button);
  p.setColor(QPalette::ButtonText, Qt::black);
  p.setColor(QPalette::Highlight, highlight);
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
  p.setColor(QPalette::ToolTipText, Qt::black);
  return p;
}

}  // namespace

void ApplyTheme(unsigned command) {
  QString style = QStringLiteral("Fusion");
  QPalette palette;
  switch (command) {
    case 32787:  // plain and grey, square controls
      style = QStringLiteral("Windows");
      palette = Palette(QColor(212, 208, 200), Qt::white, QColor(10, 36, 106), QColor(212, 208, 200));
      break;
    case 32788:  // soft blue
      palette = Palette(QColor(221, 233, 247), Qt::white, QColor(49, 106, 197), QColor(196, 218, 250));
      break;
    case 32789:  // light grey with a lavender selection
      palette = Palette(QColor(246, 245, 244), Qt::white, QColor(122, 118, 190), QColor(236, 233, 230));
      break;
    default:  // warm beige with a bright blue selection
      palette = Palette(QColor(236, 233, 216), Qt::white, QColor(49, 106, 197), QColor(244, 243, 238));
      break;
  }
  if (QStyle* chosen = QStyleFactory::create(style)) QApplication::setStyle(chosen);
  QApplication::setPalette(palette);
}
