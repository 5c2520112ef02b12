#pragma once
// The file list on the right of the main window: the children of the
// current folder in seven columns, sorted by a click on the header, with
// its context menu. Requests go to the frame as signals with entry numbers.

#include <QTableView>
#include <QVector>
#include <cstdint>
#include <functional>

class CFileListModel;

class CVKNTFSListView : public QTableView {
  Q_OBJECT

 public:
  CVKNTFSListView(CFileListModel* model, QWidget* parent = nullptr);

  void SetProcessRunning(bool running) { process_running_ = running; }
  void SetListRefreshing(bool refreshing) { list_refreshing_ = refreshing; }
  // Asked before the menu opens: is a preview window already open?
  void SetPreviewOpen(std::function<bool()> preview_open) { preview_open_ = std::move(preview_open); }
  CFileListModel* rows() const { return model_; }
  // The entries of the selected rows, in list order.
  QVector<std::uint32_t> SelectedEntries() const;

 signals:
  void FolderOpened(std::uint32_t entry);
  void SaveRequested(const QVector<std::uint32_t>& entries);
  void PropertiesRequested(std::uint32_t entry);
  void SearchRequested(std::uint32_t entry);
  void PreviewRequested(std::uint32_t entry);

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void OpenRow(int row);
  void ShowMenu(int row, const QPoint& global);

  CFileListModel* model_;
  bool process_running_ = false;
  bool list_refreshing_ = false;
  std::function<bool()> preview_open_;
};
