#include "ui/wizard/wizard_partition_list_page.h"

#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "disk/texts.h"
#include "ntfs/locate_mft.h"
#include "ui/wizard/wizard_sheet.h"

namespace salvor::ui {

QString PartitionSizeText(std::uint64_t sectors) {
  const double bytes = static_cast<double>(sectors) * 512.0;
  const char* format = bytes < 1048576.0      ? text::kSizeKb
                       : bytes < 1073741824.0 ? text::kSizeMb
                                              : text::kSizeGb;
  const double unit = bytes < 1048576.0 ? 1024.0 : bytes < 1073741824.0 ? 1048576.0 : 1073741824.0;
  return QString::fromStdString(Format(format, bytes / unit));
}

CWizardPartitionListPage::CWizardPartitionListPage(CWizardSheet* sheet)
    : CWizardPageBase(sheet, Qt8(text::kSelectPartition), QStringLiteral("ntfsrecoverdata.htm")),
      list_(new QTreeWidget(this)) {
  list_->setAccessibleName(QStringLiteral("Partitions"));
  list_->setHeaderLabels({Qt8(text::kColumnName), Qt8(text::kColumnStartSector),
                          Qt8(text::kPartitionColumnSize)});
  list_->setRootIsDecorated(false);
  list_->setAllColumnsShowFocus(true);
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  content()->addWidget(list_);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &QWizardPage::completeChanged);
}

void CWizardPartitionListPage::initializePage() {
  list_->clear();
  const auto& volumes = sheet()->engine().partitions;
  list_->setEnabled(!volumes.empty());
  if (volumes.empty()) {
    new QTreeWidgetItem(list_, {Qt8(text::kNoLogicalDrives)});
  }
  for (std::size_t i = 0; i < volumes.size(); ++i) {
    auto* item = new QTreeWidgetItem(
        list_, {QString::fromStdString(Format(text::kLogicalDrive, static_cast<unsigned>(i + 1))),
                QString::number(volumes[i].first_sector), PartitionSizeText(volumes[i].length)});
    item->setIcon(0, ThemeIcon("drive-harddisk", QStyle::SP_DriveHDIcon));
  }
  emit completeChanged();
}

bool CWizardPartitionListPage::isComplete() const {
  return list_->isEnabled() && !list_->selectedItems().isEmpty();
}

bool CWizardPartitionListPage::validatePage() {
  EngineState& engine = sheet()->engine();
  QTreeWidgetItem* row = list_->selectedItems().value(0);
  if (!row) return false;
  const auto index = static_cast<std::size_t>(list_->indexOfTopLevelItem(row));
  const std::string name = row->text(0).toStdString();
  LogEntry log{Format(text::kSelectedVolume, name.c_str()),
               Format(text::kSelectedVolumeDetail, row->text(1).toStdString().c_str(),
                      row->text(2).trimmed().toStdString().c_str()),
               {}, LogKind::kInformation};

  engine.volume = SelectVolume(engine.partitions[index], engine.source.bytes_per_sector());
  bool found = false;
  try {
    found = LocateMft(engine);
  } catch (const UserException&) {
  }
  WizardTask task = sheet()->task();
  task.volumes = engine.partitions;
  task.volume_index = index;
  task.drive_number = static_cast<unsigned>(index + 1);
  task.bytes_per_sector = engine.source.bytes_per_sector();
  task.total_sectors = engine.source.total_sectors();
  task.turbo = !found;
  if (!found) {
    QMessageBox box(QMessageBox::Warning, Qt8(text::kCaptionInformation),
                    Qt8(text::kCriticalStructuresNotFound), QMessageBox::Ok, this);
    box.setAccessibleName(Qt8(text::kCaptionInformation));
    QPushButton* turbo = box.addButton(Qt8(text::kRunTurboScanNow), QMessageBox::AcceptRole);
    turbo->setAccessibleName(QStringLiteral("Run Turbo Scan now"));
    box.exec();
    if (box.clickedButton() != turbo) return false;
  }
  task.log = log;
  sheet()->SendLog(log);
  sheet()->SetTask(std::move(task));
  return true;
}

}  // namespace salvor::ui
