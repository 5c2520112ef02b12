#include "carver/ui/disk_selection_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/carving_operations.h"
#include "carver/texts.h"
#include "carver/ui/help_window.h"
#include "carver/ui/trawler_session.h"
#include "carver/ui/ui_text.h"
#include "carver/ui/worker_host.h"

namespace salvor::carver::ui {
namespace {

constexpr int kChoiceRole = Qt::UserRole;
constexpr int kRootItem = -2;
constexpr int kImageItem = -1;

}  // namespace

CSelectPhysicalDiskDialog::CSelectPhysicalDiskDialog(TrawlerSession& session, DiskSource source,
                                                     QWidget* parent)
    : QDialog(parent), session_(session), source_(std::move(source)) {
  setWindowTitle(Text(text::kSelectDiskCaption));
  setAccessibleName(QStringLiteral("Disk selection"));
  tree_ = new QTreeWidget(this);
  tree_->setHeaderHidden(true);
  tree_->setAccessibleName(QStringLiteral("Disks"));
  panel_ = new QTextBrowser(this);
  panel_->setAccessibleName(QStringLiteral("Disk information"));
  auto* refresh = new QPushButton(Text(text::kRefreshDrives), this);
  refresh->setAccessibleName(QStringLiteral("Refresh Drives"));
  next_ = new QPushButton(Text(text::kNextPlain), this);
  next_->setAccessibleName(QStringLiteral("Next"));
  next_->setDefault(true);
  auto* cancel = new QPushButton(Text(text::kCancel), this);
  cancel->setAccessibleName(QStringLiteral("Cancel"));
  connect(refresh, &QPushButton::clicked, this, &CSelectPhysicalDiskDialog::OnRefreshDrives);
  connect(next_, &QPushButton::clicked, this, &CSelectPhysicalDiskDialog::OnNext);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(tree_, &QTreeWidget::itemSelectionChanged, this,
          &CSelectPhysicalDiskDialog::OnSelectionChanged);
  connect(tree_, &QTreeWidget::itemActivated, this, [this] { OnNext(); });

  auto* views = new QHBoxLayout;
  views->addWidget(tree_, 2);
  views->addWidget(panel_, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(refresh);
  buttons->addWidget(AddHelp(this, HelpTopic::kSelectDisk));
  buttons->addStretch();
  buttons->addWidget(next_);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(views);
  layout->addLayout(buttons);
  resize(720, 420);
  OnRefreshDrives();
}

void CSelectPhysicalDiskDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!announced_) {
    announced_ = true;
    emit opened();
  }
}

void CSelectPhysicalDiskDialog::OnRefreshDrives() {
  WorkerHost host(this);
  choices_ = MakeDiskChoices(source_.list(host), source_.device_dir);
  tree_->clear();
  root_ = new QTreeWidgetItem(tree_, {Text(text::kMyComputer)});
  root_->setIcon(0, QIcon::fromTheme(QStringLiteral("computer"),
                                     style()->standardIcon(QStyle::SP_ComputerIcon)));
  root_->setData(0, kChoiceRole, kRootItem);
  const QIcon disk_icon = QIcon::fromTheme(QStringLiteral("drive-harddisk"),
                                           style()->standardIcon(QStyle::SP_DriveHDIcon));
  for (std::size_t i = 0; i < choices_.size(); ++i) {
    auto* item = new QTreeWidgetItem(root_, {choices_[i].label});
    item->setIcon(0, disk_icon);
    item->setData(0, kChoiceRole, static_cast<int>(i));
    item->setToolTip(0, QString::fromStdString(choices_[i].device_path.string()));
  }
  auto* image = new QTreeWidgetItem(root_, {Text(text::kImageFileEntry)});
  image->setIcon(0, QIcon::fromTheme(QStringLiteral("media-optical"),
                                     style()->standardIcon(QStyle::SP_FileIcon)));
  image->setData(0, kChoiceRole, kImageItem);
  root_->setExpanded(true);
  tree_->setCurrentItem(root_->childCount() > 1 ? root_->child(0) : root_);
}

void CSelectPhysicalDiskDialog::OnSelectionChanged() {
  QTreeWidgetItem* item = tree_->currentItem();
  const int choice = item ? item->data(0, kChoiceRole).toInt() : kRootItem;
  if (choice >= 0) panel_->setHtml(DiskPanelHtml(choices_[static_cast<std::size_t>(choice)]));
  else if (choice == kImageItem) panel_->setHtml(ImagePanelHtml());
  else panel_->clear();
}

bool CSelectPhysicalDiskDialog::OpenSource(const std::string& path, const std::string& model,
                                           const std::string& size) {
  // A new source starts a new run: nothing of the last disk's types or
  // results may carry over.
  session_.disk = CarveDisk{};
  session_.selected.clear();
  session_.unmeasured_extensions.clear();
  session_.scan = CarvingScanResult{};
  // The operation's own text names the errno; the user is told what to do.
  if (!OpenCarveSource(session_.disk, path, 0).completed()) {
    QMessageBox::critical(this, Text(text::kCaptionError), Text(text::kReconnectDisk));
    return false;
  }
  session_.disk.model_text = model;
  session_.disk.size_text =
      size.empty() ? DiskSizeText(session_.disk.total_sectors * session_.disk.sector_size) : size;
  return true;
}

void CSelectPhysicalDiskDialog::OnNext() {
  QTreeWidgetItem* item = tree_->currentItem();
  const int choice = item ? item->data(0, kChoiceRole).toInt() : kRootItem;
  if (choice == kRootItem) return;
  if (choice == kImageItem) {
    QFileDialog chooser(this, Text(text::kImageFileEntry), QString(), Text(text::kImageFileFilter));
    chooser.setFileMode(QFileDialog::ExistingFile);
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setAccessibleName(QStringLiteral("Choose image file"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return;
    const QString path = chooser.selectedFiles().first();
    if (OpenSource(path.toStdString(), QFileInfo(path).fileName().toStdString(), {})) accept();
    return;
  }
  const DiskChoice& disk = choices_[static_cast<std::size_t>(choice)];
  if (OpenSource(disk.device_path.string(), disk.entry.model, disk.entry.size)) accept();
}

}  // namespace salvor::carver::ui
