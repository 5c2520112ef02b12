#pragma once
// Recovering from an image file: the file, the free space beside it, and the mode.

#include "ui/wizard/wizard_page.h"

class QLabel;

namespace salvor::ui {

class CProcessingModeBox;

class CwizardImageSelection : public CWizardPageBase {
 public:
  explicit CwizardImageSelection(CWizardSheet* sheet);

  void initializePage() override;
  bool isComplete() const override;
  bool validatePage() override;
  int nextId() const override;

 private:
  void ChooseFile();
  void UseFile(const QString& path);

  QLabel* path_line_;
  QLabel* space_line_;
  CProcessingModeBox* modes_;
};

// A file dialog of our own (not the platform's), titled "Image File", with the
// image filter; `save` asks for a new file.
QString AskImagePath(QWidget* parent, bool save, const QString& proposed = {});

}  // namespace salvor::ui
