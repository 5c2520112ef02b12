#pragma once
// The partitions found (table or search) and the choice of one to recover.

#include "ui/wizard/wizard_page.h"

class QTreeWidget;

namespace salvor::ui {

class CWizardPartitionListPage : public CWizardPageBase {
 public:
  explicit CWizardPartitionListPage(CWizardSheet* sheet);

  void initializePage() override;
  bool isComplete() const override;
  bool validatePage() override;
  int nextId() const override { return -1; }

 private:
  QTreeWidget* list_;
};

// "%7.3f KB" below 1 MiB, "%7.3f MB" below 1 GiB, else "%7.3f GB" of sectors x 512.
QString PartitionSizeText(std::uint64_t sectors);

}  // namespace salvor::ui
