#pragma once
// Cloning: a source disk and a destination disk at least as large.

#include "ui/wizard/wizard_page.h"

class QLabel;

namespace salvor::ui {

class CDescriptionPanel;
class CDiskTree;

class CWizardCloneDiskPage : public CWizardPageBase {
 public:
  explicit CWizardCloneDiskPage(CWizardSheet* sheet);

  void initializePage() override;
  bool isComplete() const override;
  bool validatePage() override;
  int nextId() const override { return -1; }

 private:
  void ChooseSource(int disk);
  void ChooseDestination(int disk);

  CDiskTree* source_tree_;
  CDiskTree* destination_tree_;
  CDescriptionPanel* panel_;
  QLabel* source_line_;
  QLabel* destination_line_;
};

}  // namespace salvor::ui
