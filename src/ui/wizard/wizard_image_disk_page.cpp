#include "ui/wizard/wizard_image_disk_page.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStorageInfo>
#include <ctime>

#include "app/scan_info_files.h"
#include "disk/texts.h"
#include "ui/wizard/copy_checks.h"
#include "ui/wizard/description_panel.h"
#include "ui/wizard/disk_tree.h"
#include "ui/wizard/ui_host.h"
#include "ui/wizard/wizard_image_selection.h"
#include "ui/wizard/wizard_sheet.h"

namespace salvor::ui {

QString DefaultImageName() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return QString::fromStdString(DatedDefaultName(text::kImageDefaultName, local)) +
         QStringLiteral(".vk2");
}

CWizardImageDiskPage::CWizardImageDiskPage(CWizardSheet* sheet)
    : CWizardPageBase(sheet, Qt8(text::kStepSelectSource), QStringLiteral("ntfsdiskimaging2.htm")),
      tree_(new CDiskTree(sheet->disks(), QStringLiteral("Disks"), this)),
      panel_(new CDescriptionPanel(this)),
      path_line_(new QLabel(this)) {
  setSubTitle(Qt8(text::kStepSelectDestination));
  auto* choose = new QPushButton(Qt8(text::kSelectDestinationPath), this);
  choose->setAccessibleName(QStringLiteral("Select destination path"));
  path_line_->setAccessibleName(QStringLiteral("Destination path"));
  path_line_->setWordWrap(true);
  auto* grid = new QGridLayout;
  grid->addWidget(tree_, 0, 0);
  grid->addWidget(panel_, 0, 1);
  grid->addWidget(choose, 1, 0, Qt::AlignLeft);
  grid->addWidget(path_line_, 2, 0, 1, 2);
  content()->addLayout(grid);
  connect(tree_, &CDiskTree::diskSelected, this, [this](int d) { ChooseDisk(d); });
  connect(choose, &QPushButton::clicked, this, [this] { ChooseDestination(); });
}

void CWizardImageDiskPage::initializePage() {
  tree_->Reset();
  sheet()->state().destination_path.clear();
  path_line_->setText(Qt8(text::kFilePathLine));
  ChooseDisk(-1);
}

void CWizardImageDiskPage::ChooseDisk(int disk) {
  sheet()->state().source_disk = disk;
  if (disk < 0) {
    panel_->SetLines({});
  } else {
    QStringList steps;
    for (std::string_view s : text::kImageDiskSteps) steps << Qt8(s);
    panel_->SetLines(DiskInformationLines(sheet()->disks()[static_cast<std::size_t>(disk)], steps));
  }
  emit completeChanged();
}

void CWizardImageDiskPage::ChooseDestination() {
  QString path = AskImagePath(this, true, DefaultImageName());
  if (path.isEmpty()) return;
  sheet()->state().destination_path = path.toStdString();
  path_line_->setText(Qt8(text::kDestinationPathLine) + path);
  emit completeChanged();
}

bool CWizardImageDiskPage::isComplete() const {
  return sheet()->state().source_disk >= 0 && !sheet()->state().destination_path.empty();
}

bool CWizardImageDiskPage::validatePage() {
  const WizardState& state = sheet()->state();
  if (state.source_disk < 0) return false;
  const DiskListEntry& source = sheet()->disks()[static_cast<std::size_t>(state.source_disk)];
  const QString path = QString::fromStdString(state.destination_path);
  const std::uint64_t need =
      DiskNumber(source.bytes_per_sector) * DiskNumber(source.total_sectors);
  // The image does not exist yet: its folder's file system is what it fills.
  QStorageInfo storage(QFileInfo(path).absolutePath());
  if (!storage.isValid() || storage.bytesAvailable() < 0) {
    ShowMessageBox(this, MessageIcon::kInformation, text::kCaptionProduct, text::kImageSpaceUnknown);
    return false;
  }
  if (need > static_cast<std::uint64_t>(storage.bytesAvailable())) {
    QMessageBox box(QMessageBox::Question, Qt8(text::kCaptionProduct), Qt8(text::kImageSpaceLow),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.setAccessibleName(Qt8(text::kCaptionProduct));
    if (box.exec() != QMessageBox::Yes) return false;
  }
  WizardTask task;
  task.kind = WizardTaskKind::kImageDisk;
  task.destination_path = state.destination_path;
  if (!OpenCopySource(*sheet(), state.source_disk, task)) return false;
  if (OverlapsSource(*sheet()->engine().source.device(), task.destination_path)) {
    ShowMessageBox(this, MessageIcon::kError, text::kCaptionProduct, text::kDestinationOnSource);
    return false;
  }
  if (!OpenCopyDestination(this, task, true)) return false;
  task.log = {Format(text::kImagingDiskHeading, source.model.c_str(), source.size.c_str(),
                     source.serial_number.c_str()),
              Format(text::kImagingDiskDetail, task.destination_path.c_str()),
              {}, LogKind::kInformation};
  sheet()->SendLog(task.log);
  sheet()->SetTask(std::move(task));
  return true;
}

}  // namespace salvor::ui
