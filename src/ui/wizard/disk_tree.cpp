#include "ui/wizard/disk_tree.h"

#include <QHeaderView>

#include "disk/texts.h"
#include "ui/wizard/wizard_page.h"

namespace salvor::ui {
namespace {

constexpr int kDiskRole = Qt::UserRole;

QString Qt8(const std::string& s) { return QString::fromStdString(s); }

QIcon DiskIcon(const DiskListEntry& disk) {
  if (disk.interface_type == "USB")
    return ThemeIcon("drive-removable-media-usb", QStyle::SP_DriveFDIcon);
  return ThemeIcon("drive-harddisk", QStyle::SP_DriveHDIcon);
}

}  // namespace

CDiskTree::CDiskTree(const std::vector<DiskListEntry>& disks, const QString& accessible_name,
                     QWidget* parent)
    : QTreeWidget(parent) {
  setAccessibleName(accessible_name);
  setHeaderHidden(true);
  setRootIsDecorated(false);
  auto* computer = new QTreeWidgetItem(this, {QString::fromUtf8(text::kMyComputer.data())});
  computer->setIcon(0, ThemeIcon("computer", QStyle::SP_ComputerIcon));
  computer->setData(0, kDiskRole, -1);
  for (std::size_t i = 0; i < disks.size(); ++i) {
    const DiskListEntry& d = disks[i];
    auto* item = new QTreeWidgetItem(
        computer, {QStringLiteral("%1 (%2)").arg(Qt8(d.model), Qt8(d.size))});
    item->setIcon(0, DiskIcon(d));
    item->setData(0, kDiskRole, static_cast<int>(i));
    item->setToolTip(0, Qt8(d.device_name));
  }
  expandAll();
  connect(this, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem*, QTreeWidgetItem*) { emit diskSelected(SelectedDisk()); });
  Reset();
}

int CDiskTree::SelectedDisk() const {
  const QTreeWidgetItem* item = currentItem();
  return item ? item->data(0, kDiskRole).toInt() : -1;
}

void CDiskTree::Reset() {
  clearSelection();
  setCurrentItem(topLevelItem(0));
}

QString DiskDescription(const DiskListEntry& disk) {
  return QStringLiteral("%1,  %2, Serial:%3").arg(Qt8(disk.model), Qt8(disk.size),
                                                   Qt8(disk.serial_number));
}

QStringList DiskInformationLines(const DiskListEntry& disk, const QStringList& steps) {
  QStringList lines{QStringLiteral("HDRInformation:"),
                    QStringLiteral("Name: ") + Qt8(disk.model),
                    QStringLiteral("Size: ") + Qt8(disk.size),
                    QStringLiteral("Serial Number: ") + Qt8(disk.serial_number),
                    QStringLiteral("Interface Type: ") + Qt8(disk.interface_type),
                    QStringLiteral("Media Type: ") + Qt8(disk.media_type),
                    QStringLiteral("Firmware: ") + Qt8(disk.firmware),
                    QStringLiteral("Total Cylinders: ") + Qt8(disk.total_cylinders),
                    QStringLiteral("Total Heads: ") + Qt8(disk.total_heads),
                    QStringLiteral("Total Sectors: ") + Qt8(disk.total_sectors),
                    QStringLiteral("HDRSteps to proceed.")};
  return lines + steps;
}

}  // namespace salvor::ui
