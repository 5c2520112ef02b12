#include "modal_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QWidget>

namespace salvor::testing {

ModalScript::ModalScript() {
  connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
  timer_.start(20);
}

void ModalScript::ThenBox(int button, QString button_text) {
  Then([this, button, button_text](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) return false;
    box_texts_ << box->text();
    Screenshot(box, QStringLiteral("box-%1").arg(box_texts_.size()));
    QAbstractButton* b = button ? box->button(QMessageBox::StandardButton(button)) : nullptr;
    for (QAbstractButton* candidate : box->buttons())
      if (!b && candidate->text() == button_text) b = candidate;
    if (b) b->click();
    return true;
  });
}

void ModalScript::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || (last_ && modal == last_) || steps_.empty() || !modal->isVisible()) return;
  last_ = modal;
  if (steps_.front()(modal)) steps_.pop_front();
}

void Screenshot(QWidget* widget, const QString& name) {
  QDir().mkpath(QStringLiteral(SALVOR_SCREENSHOTS_DIR));
  widget->grab().save(QStringLiteral(SALVOR_SCREENSHOTS_DIR "/%1.png").arg(name));
}

}  // namespace salvor::testing
