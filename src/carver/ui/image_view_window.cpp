#include "carver/ui/image_view_window.h"

#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "carver/texts.h"
#include "carver/ui/ui_text.h"

namespace salvor::carver::ui {

CImageViewWindow::CImageViewWindow(const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window) {
  setWindowTitle(title);
  setAccessibleName(QStringLiteral("Image view"));
  canvas_ = new QLabel(Text(text::kLoadingImage), this);
  canvas_->setAlignment(Qt::AlignCenter);
  canvas_->setAccessibleName(QStringLiteral("Image"));
  canvas_->setMinimumSize(64, 64);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(canvas_);
  resize(480, 360);
}

bool CImageViewWindow::SetImageBytes(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setAutoTransform(true);
  image_ = reader.read();
  if (image_.isNull()) {
    canvas_->setText(Text(text::kDrawingFailed));
    return false;
  }
  ShowScaled();
  return true;
}

void CImageViewWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!image_.isNull()) ShowScaled();
}

void CImageViewWindow::ShowScaled() {
  const QSize room = canvas_->size();
  QPixmap pixmap = QPixmap::fromImage(image_);
  if (pixmap.width() > room.width() || pixmap.height() > room.height())
    pixmap = pixmap.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  canvas_->setPixmap(pixmap);
}

}  // namespace salvor::carver::ui
