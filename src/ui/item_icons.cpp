#include "ui/item_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSizes[] = {16, 24, 32, 48};

// Deleted items are drawn faded and crossed so that they read apart from
// present ones in any theme.
QPixmap Faded(const QPixmap& source) {
  QPixmap out(source.size());
  out.setDevicePixelRatio(source.devicePixelRatio());
  out.fill(Qt::transparent);
  QPainter p(&out);
  p.setOpacity(0.45);
  p.drawPixmap(0, 0, source);
  p.setOpacity(1.0);
  p.setPen(QPen(QColor(200, 30, 30), std::max(1.0, source.width() / 12.0)));
  const qreal w = source.width() / source.devicePixelRatio();
  p.drawLine(QPointF(w * 0.55, w * 0.55), QPointF(w * 0.95, w * 0.95));
  p.drawLine(QPointF(w * 0.95, w * 0.55), QPointF(w * 0.55, w * 0.95));
  return out;
}

QPixmap DrawnFolder(int size, bool open) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  p.setPen(QPen(QColor(150, 110, 20), 1));
  p.setBrush(QColor(240, 200, 80));
  p.drawRoundedRect(QRectF(s * 0.06, s * 0.18, s * 0.4, s * 0.2), 1.5, 1.5);
  p.drawRect(QRectF(s * 0.06, s * 0.28, s * 0.88, s * 0.6));
  if (open) {
    p.setBrush(QColor(252, 224, 130));
    QPainterPath lid;
    lid.moveTo(s * 0.06, s * 0.88);
    lid.lineTo(s * 0.22, s * 0.45);
    lid.lineTo(s * 0.98, s * 0.45);
    lid.lineTo(s * 0.94, s * 0.88);
    lid.closeSubpath();
    p.drawPath(lid);
  }
  return pm;
}

QPixmap DrawnFile(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  p.setPen(QPen(QColor(90, 90, 110), 1));
  p.setBrush(Qt::white);
  QPainterPath page;
  page.moveTo(s * 0.2, s * 0.06);
  page.lineTo(s * 0.62, s * 0.06);
  page.lineTo(s * 0.82, s * 0.26);
  page.lineTo(s * 0.82, s * 0.94);
  page.lineTo(s * 0.2, s * 0.94);
  page.closeSubpath();
  p.drawPath(page);
  p.setPen(QPen(QColor(150, 160, 200), 1));
  for (qreal y = 0.4; y < 0.85; y += 0.14) p.drawLine(QPointF(s * 0.3, s * y), QPointF(s * 0.72, s * y));
  return pm;
}

QPixmap DrawnBadge(int size, QChar glyph, QColor colour) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
  QFont f;
  f.setBold(true);
  f.setPixelSize(size * 6 / 10);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString(glyph));
  return pm;
}

template <typename Draw>
QIcon Drawn(Draw draw) {
  QIcon icon;
  for (int size : kSizes) icon.addPixmap(draw(size));
  return icon;
}

QIcon FadedIcon(const QIcon& icon) {
  QIcon out;
  for (int size : kSizes) out.addPixmap(Faded(icon.pixmap(size, size)));
  return out;
}

}  // namespace

QIcon ItemIcons::Folder(bool deleted, bool open) {
  static const QIcon kClosed =
      QIcon::fromTheme("folder", Drawn([](int s) { return DrawnFolder(s, false); }));
  static const QIcon kOpen =
      QIcon::fromTheme("folder-open", Drawn([](int s) { return DrawnFolder(s, true); }));
  static const QIcon kDeletedClosed = FadedIcon(kClosed);
  static const QIcon kDeletedOpen = FadedIcon(kOpen);
  if (deleted) return open ? kDeletedOpen : kDeletedClosed;
  return open ? kOpen : kClosed;
}

QIcon ItemIcons::File(bool deleted) {
  static const QIcon kIcon =
      QIcon::fromTheme("text-x-generic", Drawn([](int s) { return DrawnFile(s); }));
  static const QIcon kDeleted = FadedIcon(kIcon);
  return deleted ? kDeleted : kIcon;
}

QIcon ItemIcons::Command(const char* theme_name, QChar glyph) {
  return QIcon::fromTheme(QString::fromLatin1(theme_name),
                          Drawn([glyph](int s) { return DrawnBadge(s, glyph, QColor(40, 90, 160)); }));
}

QIcon ItemIcons::LogKind(int kind) {
  static const QIcon kIcons[3] = {
      QIcon::fromTheme("dialog-information",
                       Drawn([](int s) { return DrawnBadge(s, 'i', QColor(40, 90, 160)); })),
      QIcon::fromTheme("dialog-error",
                       Drawn([](int s) { return DrawnBadge(s, '!', QColor(190, 40, 40)); })),
      QIcon::fromTheme("emblem-default",
                       Drawn([](int s) { return DrawnBadge(s, 'v', QColor(40, 140, 60)); })),
  };
  return kIcons[kind >= 0 && kind < 3 ? kind : 0];
}

QIcon ItemIcons::Program() {
  static const QIcon kIcon = Drawn([](int s) { return DrawnBadge(s, 'S', QColor(20, 110, 120)); });
  return kIcon;
}
