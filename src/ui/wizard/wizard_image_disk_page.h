#pragma once
// Imaging: the disk to copy and the image file to create.

#include "ui/wizard/wizard_page.h"

class QLabel;

namespace salvor::ui {

class CDescriptionPanel;
class CDiskTree;

class CWizardImageDiskPage : public CWizardPageBase {
 public:
  explicit CWizardImageDiskPage(CWizardSheet* sheet);

  void initializePage() override;
  bool isComplete() const override;
  bool validatePage() override;
  int nextId() const override { return -1; }

 private:
  void ChooseDisk(int disk);
  void ChooseDestination();

  CDiskTree* tree_;
  CDescriptionPanel* panel_;
  QLabel* path_line_;
};

// "Varnok NTFS Image # Wed, 09-Sept-2026.vk2" for today.
QString DefaultImageName();

}  // namespace salvor::ui
