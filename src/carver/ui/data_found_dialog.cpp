#include "carver/ui/data_found_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "carver/save_selection.h"
#include "carver/size_limits.h"
#include "carver/texts.h"
#include "carver/ui/find_dialog.h"
#include "carver/ui/help_window.h"
#include "carver/ui/hex_view.h"
#include "carver/ui/image_view_window.h"
#include "carver/ui/known_file_types.h"
#include "carver/ui/preview_loader.h"
#include "carver/ui/saving_options_sheet.h"
#include "carver/ui/trawler_session.h"
#include "carver/ui/ui_text.h"
#include "disk/text_format.h"

namespace salvor::carver::ui {
namespace {

QLabel* Counter(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setAccessibleName(QString::fromLatin1(name));
  return label;
}

QPushButton* Button(std::string_view label, const char* name, QWidget* parent) {
  auto* button = new QPushButton(Text(label), parent);
  button->setAccessibleName(QString::fromLatin1(name));
  return button;
}

}  // namespace

CVarnokDataFoundDialog::CVarnokDataFoundDialog(TrawlerSession& session, QWidget* parent)
    : QDialog(parent), session_(session) {
  setWindowTitle(Text(text::kProgramTitle));
  setAccessibleName(QStringLiteral("Found files page"));
  model_.SetTree(session_.scan.tree.root.get(), session_.unmeasured_extensions);

  folder_proxy_ = new QSortFilterProxyModel(this);
  folder_proxy_->setSourceModel(&model_);
  folder_proxy_->setFilterRole(FoundTreeModel::kIsFolderRole);
  folder_proxy_->setFilterRegularExpression(QStringLiteral("^true$"));
  folders_ = new QTreeView(this);
  folders_->setModel(folder_proxy_);
  folders_->setAccessibleName(QStringLiteral("Folders"));
  folders_->setHeaderHidden(true);
  folders_->hideColumn(FoundTreeModel::kSizeColumn);
  folders_->hideColumn(FoundTreeModel::kNoteColumn);
  folders_->expandToDepth(1);

  file_proxy_ = new QSortFilterProxyModel(this);
  file_proxy_->setSourceModel(&model_);
  file_proxy_->setSortRole(FoundTreeModel::kSortRole);
  files_ = new QTreeView(this);
  files_->setModel(file_proxy_);
  files_->setAccessibleName(QStringLiteral("Files"));
  files_->setRootIsDecorated(false);
  files_->setItemsExpandable(false);
  files_->setSortingEnabled(true);
  files_->sortByColumn(FoundTreeModel::kNameColumn, Qt::AscendingOrder);
  files_->setUniformRowHeights(true);
  files_->setContextMenuPolicy(Qt::CustomContextMenu);
  files_->header()->setSectionResizeMode(FoundTreeModel::kNameColumn, QHeaderView::Stretch);
  empty_ = new QLabel(Text(text::kNoItems), this);
  empty_->setAccessibleName(QStringLiteral("No items"));
  empty_->setAlignment(Qt::AlignCenter);

  total_files_ = Counter("Total Files", this);
  selected_files_ = Counter("Selected Files", this);
  total_folders_ = Counter("Total Folders", this);
  selected_folders_ = Counter("Selected Folders", this);
  total_data_ = Counter("Total Data", this);
  selected_data_ = Counter("Selected Data", this);

  auto* save = Button(text::kSave, "Save", this);
  save->setIcon(QIcon::fromTheme(QStringLiteral("document-save")));
  auto* exit = Button(text::kExit, "Exit", this);
  auto* back = Button(text::kBack, "Back", this);
  auto* home = Button(text::kHome, "Home", this);
  home->setIcon(QIcon::fromTheme(QStringLiteral("go-home")));
  auto* find = Button(text::kFind, "Find", this);
  find->setIcon(QIcon::fromTheme(QStringLiteral("edit-find")));
  find_next_ = Button(text::kFindNext, "Find Next", this);
  find_next_->setEnabled(false);
  new QShortcut(QKeySequence::Find, this, this, &CVarnokDataFoundDialog::OnFind);
  new QShortcut(QKeySequence(Qt::Key_F3), this, this, &CVarnokDataFoundDialog::OnFindNext);

  connect(save, &QPushButton::clicked, this, &CVarnokDataFoundDialog::OnSave);
  connect(exit, &QPushButton::clicked, this, &QDialog::reject);
  connect(back, &QPushButton::clicked, this, [this] { done(kPageBack); });
  connect(home, &QPushButton::clicked, this, [this] { done(kPageHome); });
  connect(find, &QPushButton::clicked, this, &CVarnokDataFoundDialog::OnFind);
  connect(find_next_, &QPushButton::clicked, this, &CVarnokDataFoundDialog::OnFindNext);
  connect(&model_, &FoundTreeModel::totalsChanged, this, &CVarnokDataFoundDialog::UpdateCounters);
  connect(folders_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { ShowFolder(folder_proxy_->mapToSource(current)); });
  connect(files_, &QTreeView::activated, this, &CVarnokDataFoundDialog::OnFileActivated);
  connect(files_, &QTreeView::customContextMenuRequested, this, &CVarnokDataFoundDialog::OnListMenu);

  auto* list_side = new QWidget(this);
  auto* list_layout = new QVBoxLayout(list_side);
  list_layout->setContentsMargins(0, 0, 0, 0);
  list_layout->addWidget(files_, 1);
  list_layout->addWidget(empty_);
  auto* splitter = new QSplitter(this);
  splitter->addWidget(folders_);
  splitter->addWidget(list_side);
  splitter->setStretchFactor(1, 2);
  auto* counters = new QGridLayout;
  counters->addWidget(total_files_, 0, 0);
  counters->addWidget(selected_files_, 0, 1);
  counters->addWidget(total_folders_, 1, 0);
  counters->addWidget(selected_folders_, 1, 1);
  counters->addWidget(total_data_, 2, 0);
  counters->addWidget(selected_data_, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(home);
  buttons->addWidget(find);
  buttons->addWidget(find_next_);
  buttons->addWidget(AddHelp(this, HelpTopic::kFoundFiles));
  buttons->addStretch();
  buttons->addWidget(back);
  buttons->addWidget(save);
  buttons->addWidget(exit);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter, 1);
  layout->addLayout(counters);
  layout->addLayout(buttons);
  resize(860, 560);

  const QModelIndex top = folder_proxy_->index(0, 0);
  if (top.isValid()) folders_->setCurrentIndex(top);
  else ShowFolder({});
  UpdateCounters();
}

void CVarnokDataFoundDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (greeted_) return;
  greeted_ = true;
  QTimer::singleShot(0, this, [this] {
    // The page may have been left before the hint came round.
    if (!isVisible()) return;
    QMessageBox::information(this, Text(text::kCaptionInformation), Text(text::kCheckAndSave));
  });
}

void CVarnokDataFoundDialog::ShowFolder(const QModelIndex& folder) {
  files_->setRootIndex(file_proxy_->mapFromSource(folder));
  const bool empty = model_.rowCount(folder) == 0;
  empty_->setVisible(empty);
}

void CVarnokDataFoundDialog::UpdateCounters() {
  const FoundTotals& t = model_.totals();
  total_files_->setText(Text(Format(text::kTotalFiles, static_cast<unsigned long long>(t.files))));
  selected_files_->setText(Text(Format(text::kSelectedFiles, static_cast<unsigned long long>(t.selected_files))));
  total_folders_->setText(Text(Format(text::kTotalFolders, static_cast<unsigned long long>(t.folders))));
  selected_folders_->setText(Text(Format(text::kSelectedFolders, static_cast<unsigned long long>(t.selected_folders))));
  total_data_->setText(Text(text::kTotalData) + CounterSizeText(t.bytes));
  selected_data_->setText(Text(text::kSelectedData) + CounterSizeText(t.selected_bytes));
}

const FoundNode* CVarnokDataFoundDialog::CurrentFile() const {
  const FoundNode* node = model_.Node(file_proxy_->mapToSource(files_->currentIndex()));
  return node != nullptr && files_->currentIndex().isValid() && !node->IsFolder() ? node : nullptr;
}

void CVarnokDataFoundDialog::OnFileActivated(const QModelIndex& index) {
  const QModelIndex source = file_proxy_->mapToSource(index);
  const FoundNode* node = model_.Node(source);
  if (node == nullptr) return;
  if (node->IsFolder()) {
    folders_->setCurrentIndex(folder_proxy_->mapFromSource(source.siblingAtColumn(0)));
    return;
  }
  Preview(*node);
}

void CVarnokDataFoundDialog::OnPreview() {
  if (const FoundNode* file = CurrentFile()) Preview(*file);
}

void CVarnokDataFoundDialog::OnToggleItem() {
  const QModelIndex current = file_proxy_->mapToSource(files_->currentIndex()).siblingAtColumn(0);
  if (!current.isValid()) return;
  const bool checked = model_.data(current, Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
  model_.setData(current, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

void CVarnokDataFoundDialog::OnListMenu(const QPoint& at) {
  const QModelIndex index = files_->indexAt(at);
  if (!index.isValid()) return;
  files_->setCurrentIndex(index);
  const QModelIndex source = file_proxy_->mapToSource(index).siblingAtColumn(0);
  const bool checked = model_.data(source, Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
  QMenu menu(this);
  QAction* preview = menu.addAction(Text(text::kPreview), this, &CVarnokDataFoundDialog::OnPreview);
  preview->setEnabled(CurrentFile() != nullptr);
  menu.addAction(Text(checked ? text::kDeselectItem : text::kSelectItem), this,
                 &CVarnokDataFoundDialog::OnToggleItem);
  menu.exec(files_->viewport()->mapToGlobal(at));
}

void CVarnokDataFoundDialog::Preview(const FoundNode& file) {
  const QString name = QString::fromStdString(file.name);
  if (file.length > kPreviewLimit) {
    QMessageBox::critical(this, Text(text::kCaptionError), Text(text::kFileTooLargeForPreview));
    return;
  }
  const bool image = IsImageName(name);
  QWidget* window = nullptr;
  if (image) {
    window = new CImageViewWindow(name, this);
    window->show();
  }
  previews_.push_back(window);
  const std::size_t slot = previews_.size() - 1;
  LoadPreviewBytes(session_.disk, file, this, [this, name, image, slot](const QByteArray& bytes) {
    if (image) {
      static_cast<CImageViewWindow*>(previews_[slot])->SetImageBytes(bytes);
      return;
    }
    auto* hex = new CHexView(bytes, this);
    hex->setWindowFlag(Qt::Window);
    hex->setWindowTitle(name);
    hex->resize(hex->fontMetrics().horizontalAdvance(hex->LineText(0)) +
                    hex->verticalScrollBar()->sizeHint().width() + 24,
                420);
    hex->show();
    previews_[slot] = hex;
  });
}

void CVarnokDataFoundDialog::OnFind() {
  if (find_ == nullptr) {
    find_ = new CFindDialog(this);
    connect(find_, &CFindDialog::searchRequested, this, &CVarnokDataFoundDialog::OnSearch);
  }
  find_->show();
  find_->raise();
  find_->activateWindow();
}

void CVarnokDataFoundDialog::OnSearch(const FindQuery& query) {
  hits_ = FindNodes(*session_.scan.tree.root, query);
  next_hit_ = 0;
  find_next_->setEnabled(true);
  OnFindNext();
}

void CVarnokDataFoundDialog::OnFindNext() {
  if (next_hit_ >= hits_.size()) {
    find_next_->setEnabled(false);
    QMessageBox::information(this, Text(text::kProgramTitle), Text(text::kEntryNotFound));
    return;
  }
  ShowHit(*hits_[next_hit_++]);
}

void CVarnokDataFoundDialog::ShowHit(const FoundNode& node) {
  const FoundNode* folder = node.IsFolder() ? &node : node.parent;
  const QModelIndex folder_index = folder_proxy_->mapFromSource(model_.IndexOf(folder));
  if (folder_index.isValid()) {
    folders_->setCurrentIndex(folder_index);
    folders_->scrollTo(folder_index);
  }
  if (!node.IsFolder()) {
    const QModelIndex file_index = file_proxy_->mapFromSource(model_.IndexOf(&node));
    files_->setCurrentIndex(file_index);
    files_->scrollTo(file_index);
  }
}

void CVarnokDataFoundDialog::OnSave() {
  CSavingOptionsSheet sheet(session_.save, session_.disk.device.get(), this);
  if (sheet.exec() != QDialog::Accepted) return;
  session_.save = sheet.request();
  // What the save leaves out is unchecked here, so that the counters and the
  // processing page show what will really be written.
  FoundNode& root = *session_.scan.tree.root;
  ApplyExclusions(root, session_.save.excluded);
  ApplySizeLimits(root, session_.save.min_bytes, session_.save.max_bytes);
  model_.Refresh();
  done(kPageSave);
}

}  // namespace salvor::carver::ui
