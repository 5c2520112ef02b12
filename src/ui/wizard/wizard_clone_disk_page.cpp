#include "ui/wizard/wizard_clone_disk_page.h"

#include <QGridLayout>
#include <QLabel>

#include "disk/texts.h"
#include "ui/wizard/copy_checks.h"
#include "ui/wizard/description_panel.h"
#include "ui/wizard/disk_tree.h"
#include "ui/wizard/ui_host.h"
#include "ui/wizard/wizard_sheet.h"

namespace salvor::ui {
namespace {

QStringList Steps() {
  QStringList steps;
  for (std::string_view s : text::kCloneSteps) steps << Qt8(s);
  return steps;
}

}  // namespace

CWizardCloneDiskPage::CWizardCloneDiskPage(CWizardSheet* sheet)
    : CWizardPageBase(sheet, Qt8(text::kSelectSourceAndDestination),
                      QStringLiteral("ntfsclonewindow.htm")),
      source_tree_(new CDiskTree(sheet->disks(), QStringLiteral("Source Disks"), this)),
      destination_tree_(new CDiskTree(sheet->disks(), QStringLiteral("Destination Disks"), this)),
      panel_(new CDescriptionPanel(this)),
      source_line_(new QLabel(this)),
      destination_line_(new QLabel(this)) {
  auto* grid = new QGridLayout;
  auto* source_label = new QLabel(Qt8(text::kSourceDisks), this);
  source_label->setBuddy(source_tree_);
  grid->addWidget(source_label, 0, 0);
  grid->addWidget(new QLabel(Qt8(text::kDestinationDisks), this), 0, 1);
  grid->addWidget(source_tree_, 1, 0);
  grid->addWidget(destination_tree_, 1, 1);
  grid->addWidget(panel_, 0, 2, 2, 1);
  grid->addWidget(source_line_, 2, 0, 1, 3);
  grid->addWidget(destination_line_, 3, 0, 1, 3);
  source_line_->setAccessibleName(QStringLiteral("Source disk"));
  destination_line_->setAccessibleName(QStringLiteral("Destination disk"));
  content()->addLayout(grid);
  connect(source_tree_, &CDiskTree::diskSelected, this, [this](int d) { ChooseSource(d); });
  connect(destination_tree_, &CDiskTree::diskSelected, this,
          [this](int d) { ChooseDestination(d); });
}

void CWizardCloneDiskPage::initializePage() {
  source_tree_->Reset();
  destination_tree_->Reset();
  ChooseSource(-1);
  panel_->SetLines({});
}

void CWizardCloneDiskPage::ChooseSource(int disk) {
  sheet()->state().source_disk = disk;
  destination_tree_->setEnabled(disk >= 0);
  source_line_->setEnabled(disk >= 0);
  if (disk < 0) {
    source_line_->setText(Qt8(text::kSourceDiskLine));
    destination_tree_->Reset();
    ChooseDestination(-1);
    return;
  }
  const DiskListEntry& d = sheet()->disks()[static_cast<std::size_t>(disk)];
  source_line_->setText(Qt8(text::kSourceDiskChosen) + DiskDescription(d));
  panel_->SetLines(DiskInformationLines(d, Steps()));
  emit completeChanged();
}

void CWizardCloneDiskPage::ChooseDestination(int disk) {
  sheet()->state().destination_disk = disk;
  if (disk < 0) {
    destination_line_->setText(Qt8(text::kDestinationDiskLine));
  } else {
    const DiskListEntry& d = sheet()->disks()[static_cast<std::size_t>(disk)];
    destination_line_->setText(Qt8(text::kDestinationDiskChosen) + DiskDescription(d));
    panel_->SetLines(DiskInformationLines(d, Steps()));
  }
  emit completeChanged();
}

bool CWizardCloneDiskPage::isComplete() const {
  return sheet()->state().source_disk >= 0 && sheet()->state().destination_disk >= 0;
}

bool CWizardCloneDiskPage::validatePage() {
  const WizardState& state = sheet()->state();
  const auto& disks = sheet()->disks();
  const DiskListEntry& source = disks[static_cast<std::size_t>(state.source_disk)];
  const DiskListEntry& target = disks[static_cast<std::size_t>(state.destination_disk)];
  if (state.source_disk == state.destination_disk) {
    ShowMessageBox(this, MessageIcon::kError, text::kCaptionProduct,
                   text::kChooseDifferentDestination);
    return false;
  }
  if (DiskNumber(target.total_sectors) < DiskNumber(source.total_sectors) ||
      DiskNumber(target.bytes_per_sector) != DiskNumber(source.bytes_per_sector)) {
    ShowMessageBox(this, MessageIcon::kError, text::kCaptionProduct, text::kDestinationTooSmall);
    return false;
  }
  WizardTask task;
  task.kind = WizardTaskKind::kCloneDisk;
  task.destination_path = sheet()->DevicePath(state.destination_disk);
  if (!OpenCopySource(*sheet(), state.source_disk, task)) return false;
  // Two list entries may name one medium (a partition and its disk, a link).
  if (OverlapsSource(*sheet()->engine().source.device(), task.destination_path)) {
    ShowMessageBox(this, MessageIcon::kError, text::kCaptionProduct,
                   text::kChooseDifferentDestination);
    return false;
  }
  if (!OpenCopyDestination(this, task, false)) return false;
  task.log = {Format(text::kCloningDiskHeading, source.model.c_str(), source.size.c_str(),
                     source.serial_number.c_str()),
              Format(text::kCloningDiskDetail, target.model.c_str(), target.size.c_str(),
                     target.serial_number.c_str()),
              {}, LogKind::kInformation};
  sheet()->SendLog(task.log);
  sheet()->SetTask(std::move(task));
  return true;
}

}  // namespace salvor::ui
