#pragma once
// What the window tests share: a watcher that answers modal boxes and file
// dialogs as they open (recording and photographing each), screenshots, and
// the sample disk.

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

#include <ostream>

class QWidget;

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// Answers every modal message box with what `answer` returns for its text,
// and every file dialog with `save_path`.
class BoxAnswerer : public QObject {
 public:
  using Answer = std::function<QMessageBox::StandardButton(const QString& text)>;
  explicit BoxAnswerer(Answer answer = {});
  const QStringList& texts() const { return texts_; }
  QString save_path;

 private:
  void Poll();
  Answer answer_;
  QStringList texts_;
  QTimer timer_;
};

// Saves the widget's picture as <build>/screenshots/<name>.png.
void Screenshot(QWidget* widget, const QString& name);
QString SampleDisk();
