#pragma once
// The tip of the day: one line of the tips file at a time, with the choice
// of showing it at start-up (kept in the settings).

#include <QDialog>
#include <QStringList>

class QLabel;
class QCheckBox;

class CTipDialog : public QDialog {
  Q_OBJECT

 public:
  // Reads the tips file in `folder`, creating it with the one default tip
  // when it is missing.
  CTipDialog(const QString& folder, QWidget* parent = nullptr);
  QString tip() const;
  // The stored show-at-start-up choice (on unless the user turned it off).
  static bool ShowAtStartUp();

 private:
  void Next();
  QStringList tips_;
  int shown_ = 0;
  QLabel* text_;
  QCheckBox* at_start_up_;
};
