#pragma once
// The process log list of the "Process Log" pane: one row per log entry,
// appended only, the newest row highlighted. It keeps the entries it shows
// so that they can be saved as text.

#include <QTreeWidget>

#include "app/process_log.h"

class CProcessLogView : public QTreeWidget {
  Q_OBJECT

 public:
  explicit CProcessLogView(QWidget* parent = nullptr);

  // Stamps the entry with the current time, appends it and scrolls to it.
  void AddEntry(const salvor::LogEntry& entry);
  void ClearAll();
  const salvor::ProcessLog& log() const { return log_; }

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void Paint(QTreeWidgetItem* item, bool newest);
  salvor::ProcessLog log_;
};
