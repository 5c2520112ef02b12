#pragma once
// Driving Trawler's real widgets in tests: controls found by their accessible
// names, message boxes answered as they appear, waits that keep the event
// loop turning, and screenshots into <build>/screenshots.

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <vector>

namespace salvor::carver::ui::testing {

// Processes events until `done` holds; false after `ms` milliseconds.
bool WaitFor(const std::function<bool()>& done, int ms = 30000);
// Turns the event loop for a while (lets queued work run).
void Settle(int ms = 50);

template <typename T>
T* Named(QWidget* root, const QString& name) {
  for (T* child : root->findChildren<T*>())
    if (child->accessibleName() == name) return child;
  return nullptr;
}

void Screenshot(QWidget* widget, const QString& name);

// Answers every message box that opens: the first rule whose text is part of
// the box's text gives the button (and is used up); otherwise Ok, else No.
class BoxAnswerer : public QObject {
  Q_OBJECT
 public:
  struct Shown {
    QString title, text;
    QMessageBox::Icon icon;
  };

  BoxAnswerer();
  void Answer(const QString& text_part, QMessageBox::StandardButton button);
  // Runs `act` on the next modal dialog of type `T` (a sheet, a file chooser).
  void OnModal(const char* class_name, std::function<void(QWidget*)> act);
  bool Saw(const QString& text_part) const;
  std::vector<Shown> shown;

 private:
  void Poll();
  struct Rule {
    QString text_part;
    QMessageBox::StandardButton button;
  };
  std::deque<Rule> rules_;
  std::deque<std::pair<QByteArray, std::function<void(QWidget*)>>> modal_actions_;
  QTimer timer_;
};

}  // namespace salvor::carver::ui::testing
