#pragma once
// The image preview of a found file: decoded by the image reader, drawn to
// fit the window; a file that does not decode says so.

#include <QByteArray>
#include <QImage>
#include <QWidget>

class QLabel;

namespace salvor::carver::ui {

class CImageViewWindow : public QWidget {
  Q_OBJECT
 public:
  explicit CImageViewWindow(const QString& title, QWidget* parent = nullptr);

  // Decodes the bytes; false (and the failure text shown) when they are no image.
  bool SetImageBytes(const QByteArray& bytes);
  const QImage& image() const { return image_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowScaled();

  QLabel* canvas_ = nullptr;
  QImage image_;
};

}  // namespace salvor::carver::ui
