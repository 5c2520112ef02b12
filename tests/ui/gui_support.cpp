#include "gui_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>

#include "support/test_paths.h"

BoxAnswerer::BoxAnswerer(Answer answer) : answer_(std::move(answer)) {
  timer_.setInterval(20);
  connect(&timer_, &QTimer::timeout, this, &BoxAnswerer::Poll);
  timer_.start();
}

void BoxAnswerer::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    texts_.push_back(box->text());
    Screenshot(box, QStringLiteral("box-") + QString::number(texts_.size()) + QLatin1Char('-') +
                        box->windowTitle().remove(QLatin1Char(' ')));
    const QMessageBox::StandardButton button =
        answer_ ? answer_(box->text()) : QMessageBox::NoButton;
    if (QAbstractButton* b = box->button(button)) {
      b->click();
    } else {
      box->accept();
    }
  } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
    Screenshot(files, QStringLiteral("dialog-save-log"));
    if (save_path.isEmpty()) {
      files->reject();
    } else {
      files->selectFile(save_path);
      static_cast<QDialog*>(files)->accept();
    }
  }
}

void Screenshot(QWidget* widget, const QString& name) {
  const QString dir = QStringLiteral(SALVOR_SCREENSHOTS_DIR);
  QDir().mkpath(dir);
  widget->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

QString SampleDisk() {
  return QString::fromStdString((salvor::testing::SamplesDir() / "sample-disk.img").string());
}
