#include "ui/process_log_view.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <ctime>

#include "disk/texts.h"
#include "ui/item_icons.h"
#include "ui/ui_text.h"

CProcessLogView::CProcessLogView(QWidget* parent) : QTreeWidget(parent) {
  setAccessibleName(UiText(salvor::text::kProcessLogPane));
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setColumnCount(3);
  setHeaderLabels({UiText(salvor::text::kLogColumnName), UiText(salvor::text::kLogColumnDescription),
                   UiText(salvor::text::kLogColumnTime)});
  setColumnWidth(0, 265);
  setColumnWidth(1, 299);
  setColumnWidth(2, 576);
}

void CProcessLogView::Paint(QTreeWidgetItem* item, bool newest) {
  const QBrush background(newest ? QColor(255, 159, 89) : QColor(Qt::white));
  for (int c = 0; c < 3; ++c) {
    item->setBackground(c, background);
    item->setForeground(c, QBrush(Qt::black));
  }
}

void CProcessLogView::AddEntry(const salvor::LogEntry& entry) {
  salvor::AddLogEntry(log_, entry, std::time(nullptr));
  const salvor::LogEntry& added = log_.entries.back();
  if (topLevelItemCount() > 0) Paint(topLevelItem(topLevelItemCount() - 1), false);
  auto* item = new QTreeWidgetItem(
      {QString::fromStdString(added.text), QString::fromStdString(added.detail),
       QString::fromStdString(added.time)});
  item->setIcon(0, ItemIcons::LogKind(static_cast<int>(added.kind)));
  Paint(item, true);
  addTopLevelItem(item);
  scrollToItem(item);
}

void CProcessLogView::ClearAll() {
  clear();
  log_.entries.clear();
}

void CProcessLogView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.setAccessibleName(QStringLiteral("Process Log Menu"));
  QAction* clear_all = menu.addAction(UiText(salvor::text::kLogClearAll));
  menu.addAction(UiText(salvor::text::kLogSaveAll));
  menu.addAction(UiText(salvor::text::kLogHighlightRecent));
  if (menu.exec(event->globalPos()) == clear_all) ClearAll();
}
