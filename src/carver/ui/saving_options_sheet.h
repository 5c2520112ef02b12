#pragma once
// The saving options: where to save, whether to pack into ZIP archives,
// which extensions to leave out and which sizes to leave out. Confirming
// checks the destination (made if missing, warned about when it lies on the
// disk being scanned) and fills the save request.

#include <QDialog>

#include "carver/ui/trawler_session.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;

namespace salvor {
class BlockDevice;
}

namespace salvor::carver::ui {

class CSavingOptionsSheet : public QDialog {
  Q_OBJECT
 public:
  CSavingOptionsSheet(const SaveRequest& initial, const BlockDevice* source, QWidget* parent = nullptr);

  const SaveRequest& request() const { return request_; }

 public slots:
  void OnAddToList();
  void OnViewList();
  void OnBrowse();
  void accept() override;

 private:
  SaveRequest request_;
  const BlockDevice* source_;
  QLineEdit* destination_ = nullptr;
  QCheckBox* compress_ = nullptr;
  QGroupBox* exclude_group_ = nullptr;
  QLineEdit* extension_ = nullptr;
  QGroupBox* size_group_ = nullptr;
  QSpinBox* min_kb_ = nullptr;
  QSpinBox* max_kb_ = nullptr;
};

}  // namespace salvor::carver::ui
