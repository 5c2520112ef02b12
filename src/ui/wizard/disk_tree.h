#pragma once
// The disks of the disk list under one "My Computer" item, in list order (the
// pages keep indexes into that list).

#include <QTreeWidget>
#include <vector>

#include "disk/disk_list.h"

namespace salvor::ui {

class CDiskTree : public QTreeWidget {
  Q_OBJECT
 public:
  CDiskTree(const std::vector<DiskListEntry>& disks, const QString& accessible_name,
            QWidget* parent = nullptr);

  // The disk of the current item, -1 for "My Computer" or none.
  int SelectedDisk() const;
  // Unmarks every disk and selects "My Computer".
  void Reset();

 signals:
  void diskSelected(int index);
};

// The information panel's lines for one disk ("HDRInformation:", "Name: ..."),
// followed by "HDRSteps to proceed." and `steps`.
QStringList DiskInformationLines(const DiskListEntry& disk, const QStringList& steps);
// "%s,  %s, Serial:%s" of model, size and serial.
QString DiskDescription(const DiskListEntry& disk);

}  // namespace salvor::ui
