#include "ui/folder_tree_view.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>

#include "disk/texts.h"
#include "ui/folder_tree_model.h"
#include "ui/ui_text.h"

CVKNTFSTreeView::CVKNTFSTreeView(CFolderTreeModel* model, QWidget* parent)
    : QTreeView(parent), model_(model) {
  setModel(model_);
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setAccessibleName(QStringLiteral("Folder Tree"));
  connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
    if (process_running_) collapse(index);
  });
}

void CVKNTFSTreeView::SetProcessRunning(bool running) {
  process_running_ = running;
  model_->SetLocked(Blocked());
}

void CVKNTFSTreeView::SetListRefreshing(bool refreshing) {
  list_refreshing_ = refreshing;
  model_->SetLocked(Blocked());
}

void CVKNTFSTreeView::MakeCurrent(const QModelIndex& index) {
  if (!index.isValid()) return;
  model_->SetCurrent(index);
  setCurrentIndex(index);
  scrollTo(index);
}

void CVKNTFSTreeView::ShowTop() {
  const QModelIndex top = model_->TopIndex();
  MakeCurrent(top);
  // The fill itself may open the top while its process is still marked as
  // running; only the user's expansions are refused then.
  const bool running = process_running_;
  process_running_ = false;
  expand(top);
  process_running_ = running;
  setFocus();
}

void CVKNTFSTreeView::Choose(const QModelIndex& index) {
  MakeCurrent(index);
  emit FolderChosen(model_->EntryOf(index));
}

void CVKNTFSTreeView::SelectChildFolder(std::uint32_t entry) {
  const QModelIndex child = model_->FindChild(model_->CurrentIndex(), entry);
  if (!child.isValid()) return;
  for (QModelIndex up = child; up.isValid(); up = up.parent()) expand(up);
  MakeCurrent(child);
}

void CVKNTFSTreeView::SelectFolder(std::uint32_t entry) {
  const QModelIndex found = model_->FindEntry(entry);
  if (!found.isValid()) return;
  for (QModelIndex up = found; up.isValid(); up = up.parent()) expand(up);
  MakeCurrent(found);
}

bool CVKNTFSTreeView::OnCheckBox(const QModelIndex& index, const QPoint& pos) {
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = visualRect(index);
  option.features |= QStyleOptionViewItem::HasCheckIndicator;
  const QRect box = style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
  return box.contains(pos);
}

void CVKNTFSTreeView::mousePressEvent(QMouseEvent* event) {
  if (Blocked()) return;
  const QModelIndex index = indexAt(event->position().toPoint());
  QTreeView::mousePressEvent(event);
  if (index.isValid() && event->button() == Qt::LeftButton &&
      !OnCheckBox(index, event->position().toPoint()))
    Choose(index);
}

void CVKNTFSTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (Blocked()) return;
  QTreeView::mouseDoubleClickEvent(event);
}

void CVKNTFSTreeView::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !Blocked()) {
    const QModelIndex index = currentIndex();
    if (index.isValid()) {
      expand(index);
      Choose(index);
    }
    return;
  }
  QTreeView::keyPressEvent(event);
}

void CVKNTFSTreeView::contextMenuEvent(QContextMenuEvent* event) {
  if (Blocked()) return;
  QModelIndex index;
  QPoint where = event->globalPos();
  if (event->reason() == QContextMenuEvent::Keyboard) {
    // The key acts as Enter, then opens the menu below the label.
    index = currentIndex();
    if (!index.isValid()) return;
    expand(index);
    Choose(index);
    where = viewport()->mapToGlobal(visualRect(index).bottomLeft());
  } else {
    index = indexAt(event->pos());
    if (!index.isValid()) return;
    MakeCurrent(index);
  }
  ShowMenu(index, where);
}

void CVKNTFSTreeView::ShowMenu(const QModelIndex& index, const QPoint& global) {
  const std::uint32_t entry = model_->EntryOf(index);
  QMenu menu(this);
  menu.setAccessibleName(QStringLiteral("Folder Tree Menu"));
  QAction* save = menu.addAction(UiText(salvor::text::kMenuSave));
  menu.setDefaultAction(save);
  QAction* preview = menu.addAction(UiText(salvor::text::kMenuPreview));
  preview->setEnabled(false);
  QAction* search = menu.addAction(UiText(salvor::text::kMenuSearch));
  menu.addSeparator();
  QAction* properties = menu.addAction(UiText(salvor::text::kMenuProperties));
  QAction* chosen = menu.exec(global);
  if (chosen == save) emit SaveRequested(entry);
  if (chosen == search) emit SearchRequested(entry);
  if (chosen == properties) emit PropertiesRequested(entry);
}
