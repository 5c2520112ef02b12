#pragma once
// The find dialog of the found files page: a name pattern, match case and a
// size bound. Found files carry no dates, so there is no date option.

#include <QDialog>

#include "carver/ui/found_search.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace salvor::carver::ui {

class CFindDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CFindDialog(QWidget* parent = nullptr);

 signals:
  void searchRequested(const salvor::carver::ui::FindQuery& query);

 public slots:
  void OnSearchNow();
  void OnToggleOptions();

 private:
  QLineEdit* pattern_ = nullptr;
  QCheckBox* match_case_ = nullptr;
  QGroupBox* size_group_ = nullptr;
  QComboBox* bound_ = nullptr;
  QLineEdit* size_kb_ = nullptr;
  QWidget* options_ = nullptr;
  QPushButton* toggle_ = nullptr;
};

}  // namespace salvor::carver::ui
