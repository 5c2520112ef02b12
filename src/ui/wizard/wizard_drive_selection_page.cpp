#include "ui/wizard/wizard_drive_selection_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "disk/texts.h"
#include "ui/wizard/description_panel.h"
#include "ui/wizard/disk_tree.h"
#include "ui/wizard/processing_mode_box.h"
#include "ui/wizard/wizard_sheet.h"

namespace salvor::ui {

CWizardDriveSelectionPage::CWizardDriveSelectionPage(CWizardSheet* sheet)
    : CWizardPageBase(sheet, Qt8(text::kStepSelectDrive), QStringLiteral("ntfsrecoverdata.htm")),
      tree_(new CDiskTree(sheet->disks(), QStringLiteral("Disks"), this)),
      panel_(new CDescriptionPanel(this)),
      modes_(new CProcessingModeBox(Qt8(text::kProcessingModes), this)) {
  setSubTitle(Qt8(text::kStepSelectMode));
  auto* row = new QHBoxLayout;
  row->addWidget(tree_, 1);
  row->addWidget(panel_, 1);
  content()->addLayout(row, 1);
  content()->addWidget(modes_);
  connect(tree_, &CDiskTree::diskSelected, this, [this](int disk) { ShowDisk(disk); });
}

void CWizardDriveSelectionPage::initializePage() {
  WizardState& state = sheet()->state();
  if (!state.fresh_start) return;
  state.fresh_start = false;
  tree_->Reset();
  modes_->Reset();
  panel_->SetLines({});
  state.source_disk = -1;
  emit completeChanged();
}

void CWizardDriveSelectionPage::ShowDisk(int disk) {
  sheet()->state().source_disk = disk;
  modes_->setEnabled(disk >= 0);
  if (disk >= 0) {
    QStringList steps;
    for (std::string_view s : text::kDriveSteps) steps << Qt8(s);
    panel_->SetLines(DiskInformationLines(sheet()->disks()[static_cast<std::size_t>(disk)], steps));
  } else {
    panel_->SetLines({});
  }
  emit completeChanged();
}

bool CWizardDriveSelectionPage::isComplete() const { return sheet()->state().source_disk >= 0; }

bool CWizardDriveSelectionPage::validatePage() {
  sheet()->state().search_lost = modes_->SearchLost();
  return sheet()->OpenSourceAndListVolumes(false);
}

int CWizardDriveSelectionPage::nextId() const { return CWizardSheet::kPartitionPage; }

}  // namespace salvor::ui
