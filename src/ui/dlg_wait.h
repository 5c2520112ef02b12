#pragma once
// The box shown while the file list is refilled.

#include <QDialog>

class CDlgWait : public QDialog {
  Q_OBJECT

 public:
  explicit CDlgWait(QWidget* parent = nullptr);
  // Shows the box and paints it before the caller goes on working.
  void Open();
};
