#pragma once
// The two processing modes of the disk and image pages: display the default
// partitions or search for lost ones.

#include <QGroupBox>

class QRadioButton;

namespace salvor::ui {

class CProcessingModeBox : public QGroupBox {
 public:
  CProcessingModeBox(const QString& title, QWidget* parent);
  bool SearchLost() const;
  // Disabled with "&Display default partition(s)" checked.
  void Reset();

  QRadioButton* display_default;
  QRadioButton* search_lost;
};

}  // namespace salvor::ui
