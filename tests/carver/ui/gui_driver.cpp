#include "gui_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QThread>

#include "support/test_paths.h"

namespace salvor::carver::ui::testing {

bool WaitFor(const std::function<bool()>& done, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QThread::msleep(2);
  }
  return true;
}

void Settle(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
}

void Screenshot(QWidget* widget, const QString& name) {
  const QString folder =
      QString::fromStdString((salvor::testing::BinDir().parent_path() / "screenshots").string());
  QDir().mkpath(folder);
  widget->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

BoxAnswerer::BoxAnswerer() {
  timer_.setInterval(15);
  connect(&timer_, &QTimer::timeout, this, &BoxAnswerer::Poll);
  timer_.start();
}

void BoxAnswerer::Answer(const QString& text_part, QMessageBox::StandardButton button) {
  rules_.push_back({text_part, button});
}

void BoxAnswerer::OnModal(const char* class_name, std::function<void(QWidget*)> act) {
  modal_actions_.emplace_back(QByteArray(class_name), std::move(act));
}

bool BoxAnswerer::Saw(const QString& text_part) const {
  for (const Shown& s : shown)
    if (s.text.contains(text_part)) return true;
  return false;
}

void BoxAnswerer::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr) return;
  if (!modal_actions_.empty() && modal->inherits(modal_actions_.front().first.constData())) {
    auto act = std::move(modal_actions_.front().second);
    modal_actions_.pop_front();
    // Run outside this timer's slot: a box the action opens must find the
    // timer free to answer it.
    QTimer::singleShot(0, modal, [act = std::move(act), modal] { act(modal); });
    return;
  }
  auto* box = qobject_cast<QMessageBox*>(modal);
  if (box == nullptr || !box->isVisible()) return;
  shown.push_back({box->windowTitle(), box->text(), box->icon()});
  QMessageBox::StandardButton button = box->button(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::No;
  for (auto it = rules_.begin(); it != rules_.end(); ++it) {
    if (box->text().contains(it->text_part)) {
      button = it->button;
      rules_.erase(it);
      break;
    }
  }
  if (QAbstractButton* b = box->button(button)) b->click();
}

}  // namespace salvor::carver::ui::testing
