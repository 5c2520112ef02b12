#pragma once
// The list of extensions left out of a save, with "Clear List".

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;

namespace salvor::carver::ui {

class CExcludedTypesDialog : public QDialog {
  Q_OBJECT
 public:
  CExcludedTypesDialog(std::vector<std::string>& excluded, QWidget* parent = nullptr);

 public slots:
  void OnClearList();

 private:
  std::vector<std::string>& excluded_;
  QListWidget* list_ = nullptr;
};

}  // namespace salvor::carver::ui
