#pragma once
// A scrolling hex view of a found file: 32 bytes a line, as
// "Line 00000000:    " with the line number, the bytes in hex and then as
// characters. The last line may be partial.

#include <QAbstractScrollArea>
#include <QByteArray>

namespace salvor::carver::ui {

class CHexView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  static constexpr int kBytesPerLine = 32;

  CHexView(QByteArray bytes, QWidget* parent = nullptr);

  qsizetype LineCount() const { return (bytes_.size() + kBytesPerLine - 1) / kBytesPerLine; }
  QString LineText(qsizetype line) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateScrollBars();
  int LineHeight() const;

  QByteArray bytes_;
};

}  // namespace salvor::carver::ui
