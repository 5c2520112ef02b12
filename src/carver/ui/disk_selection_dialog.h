#pragma once
// The disk selection dialog: the machine's physical disks under "My
// Computer" (and an "Image file..." entry), an information panel for the
// selected one, and "Next", which opens the choice read-only for the scan.

#include <QDialog>
#include <vector>

#include "carver/ui/disk_choices.h"

class QTreeWidget;
class QTreeWidgetItem;
class QTextBrowser;
class QPushButton;

namespace salvor::carver::ui {

struct TrawlerSession;

class CSelectPhysicalDiskDialog : public QDialog {
  Q_OBJECT
 public:
  CSelectPhysicalDiskDialog(TrawlerSession& session, DiskSource source, QWidget* parent = nullptr);

 signals:
  // Shown, for Salvor to learn which window to close when it exits.
  void opened();

 public slots:
  void OnRefreshDrives();
  void OnNext();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void OnSelectionChanged();
  bool OpenSource(const std::string& path, const std::string& model, const std::string& size);

  TrawlerSession& session_;
  DiskSource source_;
  std::vector<DiskChoice> choices_;
  bool announced_ = false;
  QTreeWidget* tree_ = nullptr;
  QTreeWidgetItem* root_ = nullptr;
  QTextBrowser* panel_ = nullptr;
  QPushButton* next_ = nullptr;
};

}  // namespace salvor::carver::ui
