#pragma once
// The folder tree on the left of the main window: check boxes, the current
// folder, its context menu. Requests go to the frame as signals carrying
// entry numbers; the tree never saves, previews or searches itself.

#include <QTreeView>
#include <cstdint>

class CFolderTreeModel;

class CVKNTFSTreeView : public QTreeView {
  Q_OBJECT

 public:
  CVKNTFSTreeView(CFolderTreeModel* model, QWidget* parent = nullptr);

  // While a process runs, clicks are ignored and folders do not expand;
  // while the list refreshes, clicks are ignored.
  void SetProcessRunning(bool running);
  void SetListRefreshing(bool refreshing);

  // After a fill: the top item current, expanded and selected.
  void ShowTop();
  // The child of the current folder with this entry becomes current.
  void SelectChildFolder(std::uint32_t entry);
  // Any folder read so far with this entry becomes current.
  void SelectFolder(std::uint32_t entry);
  // Makes `index` the current folder (bold, selected) without telling the list.
  void MakeCurrent(const QModelIndex& index);
  CFolderTreeModel* folders() const { return model_; }

 signals:
  void FolderChosen(std::uint32_t entry);
  void SaveRequested(std::uint32_t entry);
  void PropertiesRequested(std::uint32_t entry);
  void SearchRequested(std::uint32_t entry);
  void PreviewRequested(std::uint32_t entry);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  bool Blocked() const { return process_running_ || list_refreshing_; }
  bool OnCheckBox(const QModelIndex& index, const QPoint& pos);
  void Choose(const QModelIndex& index);
  void ShowMenu(const QModelIndex& index, const QPoint& global);

  CFolderTreeModel* model_;
  bool process_running_ = false;
  bool list_refreshing_ = false;
};
