#pragma once
// The disclaimer shown once at start-up, before the disk selection.

#include <QDialog>

namespace salvor::carver::ui {

class CDisclaimerDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CDisclaimerDialog(QWidget* parent = nullptr);
};

}  // namespace salvor::carver::ui
