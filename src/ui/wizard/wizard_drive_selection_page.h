#pragma once
// Recovering from a disk: the disk tree, its information, and the mode.

#include "ui/wizard/wizard_page.h"

namespace salvor::ui {

class CDescriptionPanel;
class CDiskTree;
class CProcessingModeBox;

class CWizardDriveSelectionPage : public CWizardPageBase {
 public:
  explicit CWizardDriveSelectionPage(CWizardSheet* sheet);

  void initializePage() override;
  bool isComplete() const override;
  bool validatePage() override;
  int nextId() const override;

 private:
  void ShowDisk(int disk);

  CDiskTree* tree_;
  CDescriptionPanel* panel_;
  CProcessingModeBox* modes_;
};

}  // namespace salvor::ui
