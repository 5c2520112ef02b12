#pragma once
// How to search for lost partitions: quick (every cylinder start) or thorough.

#include <QDialog>

class QRadioButton;

namespace salvor::ui {

class CDiskScanMode : public QDialog {
 public:
  explicit CDiskScanMode(QWidget* parent = nullptr);
  bool Thorough() const;

 private:
  QRadioButton* thorough_;
};

}  // namespace salvor::ui
