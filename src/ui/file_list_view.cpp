#include "ui/file_list_view.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

#include "disk/texts.h"
#include "ui/file_list_model.h"
#include "ui/ui_text.h"

CVKNTFSListView::CVKNTFSListView(CFileListModel* model, QWidget* parent)
    : QTableView(parent), model_(model) {
  setModel(model_);
  setAccessibleName(QStringLiteral("File List"));
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setShowGrid(true);
  setWordWrap(false);
  setTabKeyNavigation(false);  // Tab goes to the tree
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSortIndicatorShown(true);
  horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  static constexpr int kWidths[] = {200, 100, 60, 220, 180, 60, 60};
  for (int c = 0; c < static_cast<int>(std::size(kWidths)); ++c) setColumnWidth(c, kWidths[c]);
  horizontalHeader()->setSectionsClickable(true);
  // A click on another column sorts in the direction the header shows; a
  // click on the sorted column reverses it (the header's own flip rule).
  connect(horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
          [this](int column, Qt::SortOrder order) {
            if (model_->rowCount() > 0) model_->sort(column, order);
          });
}

QVector<std::uint32_t> CVKNTFSListView::SelectedEntries() const {
  QModelIndexList rows = selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end(),
            [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  QVector<std::uint32_t> entries;
  for (const QModelIndex& index : rows) entries.push_back(model_->EntryOf(index.row()));
  return entries;
}

void CVKNTFSListView::OpenRow(int row) {
  if (process_running_ || !model_->IsFolder(row)) return;
  emit FolderOpened(model_->EntryOf(row));
}

void CVKNTFSListView::mouseDoubleClickEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid()) OpenRow(index.row());
}

void CVKNTFSListView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (currentIndex().isValid()) OpenRow(currentIndex().row());
    return;
  }
  QTableView::keyPressEvent(event);
}

void CVKNTFSListView::contextMenuEvent(QContextMenuEvent* event) {
  if (model_->rowCount() == 0 || process_running_ || list_refreshing_) return;
  if (event->reason() == QContextMenuEvent::Keyboard) {
    const QModelIndex index = currentIndex();
    if (!index.isValid()) return;
    ShowMenu(index.row(), viewport()->mapToGlobal(visualRect(index).center()));
    return;
  }
  const QModelIndex index = indexAt(event->pos());
  if (index.isValid()) ShowMenu(index.row(), event->globalPos());
}

void CVKNTFSListView::ShowMenu(int row, const QPoint& global) {
  const std::uint32_t entry = model_->EntryOf(row);
  const bool several = selectionModel()->selectedRows().size() >= 2;
  const bool folder = model_->IsFolder(row);
  QMenu menu(this);
  menu.setAccessibleName(QStringLiteral("File List Menu"));
  QAction* save = menu.addAction(UiText(salvor::text::kMenuSave));
  menu.setDefaultAction(save);
  QAction* preview = menu.addAction(UiText(salvor::text::kMenuPreview));
  preview->setEnabled(!folder && !several && !(preview_open_ && preview_open_()));
  QAction* search = menu.addAction(UiText(salvor::text::kMenuSearch));
  search->setEnabled(folder && !several);
  menu.addSeparator();
  QAction* properties = menu.addAction(UiText(salvor::text::kMenuProperties));
  properties->setEnabled(!several);
  QAction* chosen = menu.exec(global);
  if (chosen == save) emit SaveRequested(SelectedEntries());
  if (chosen == preview) emit PreviewRequested(entry);
  if (chosen == search) emit SearchRequested(entry);
  if (chosen == properties) emit PropertiesRequested(entry);
}
