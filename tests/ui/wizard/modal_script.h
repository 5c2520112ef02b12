#pragma once
// Answers the modal windows a test step opens, in order: each step gets the
// window, may photograph and fill it, and closes it; a step that returns
// false was not meant for that window (a progress dialog under the box it
// waits for) and waits for the next. Also screenshots.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QWidget;

namespace salvor::testing {

class ModalScript : public QObject {
 public:
  using Step = std::function<bool(QWidget* modal)>;
  ModalScript();
  void Then(Step step) { steps_.push_back(std::move(step)); }
  // Message boxes answered with `button` (a QMessageBox::StandardButton, or
  // 0 for the first button whose text is `button_text`); their texts are kept.
  void ThenBox(int button, QString button_text = {});
  bool done() const { return steps_.empty(); }
  const QStringList& box_texts() const { return box_texts_; }

 private:
  void Poll();
  std::deque<Step> steps_;
  QStringList box_texts_;
  QPointer<QWidget> last_;  // the window handled last, while it lives
  QTimer timer_;
};

// Saves <build>/screenshots/<name>.png.
void Screenshot(QWidget* widget, const QString& name);

}  // namespace salvor::testing
