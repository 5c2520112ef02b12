#pragma once
// The bar that shows the chosen stretch of the disk against the whole (and,
// with a fixed colour, the legend swatches beside it).

#include <QColor>
#include <QWidget>

namespace salvor::ui {

class CScanArea : public QWidget {
 public:
  explicit CScanArea(QWidget* parent = nullptr);
  // Whole percentages; an end below the start shows only the background.
  void SetArea(unsigned start_percent, unsigned end_percent);
  void SetBackground(const QColor& colour);
  unsigned start_percent() const { return start_; }
  unsigned end_percent() const { return end_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  unsigned start_ = 1;
  unsigned end_ = 0;
  QColor background_ = Qt::white;
};

// The colour the scanned area is drawn in.
QColor ScanAreaColour();

}  // namespace salvor::ui
