#pragma once
// Icons of the desktop program: from the desktop's icon theme where it has
// one, else drawn here (never taken from another product).

#include <QIcon>

class ItemIcons {
 public:
  // Present or deleted folder, closed or open (the current folder).
  static QIcon Folder(bool deleted, bool open = false);
  static QIcon File(bool deleted);
  // A tool bar command's icon: the theme's `theme_name`, else a drawn badge
  // with `glyph` on it.
  static QIcon Command(const char* theme_name, QChar glyph);
  // The three kinds of log entry: information, failure, completed.
  static QIcon LogKind(int kind);
  static QIcon Program();
};
