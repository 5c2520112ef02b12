#pragma once
// The found files page: the found-file tree as folders and a file list with
// check boxes, the counts and sizes of what is checked, find, preview, and
// the saving options that start a save.

#include <QDialog>
#include <vector>

#include "carver/ui/found_search.h"
#include "carver/ui/found_tree_model.h"

class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTreeView;

namespace salvor::carver::ui {

struct TrawlerSession;
class CFindDialog;

// The page's results beside those of the file type page.
enum FoundPageResult { kPageSave = 4 };

class CVarnokDataFoundDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CVarnokDataFoundDialog(TrawlerSession& session, QWidget* parent = nullptr);

  FoundTreeModel& model() { return model_; }
  QTreeView* folder_view() const { return folders_; }
  QTreeView* file_view() const { return files_; }
  // The preview windows opened so far (they close with the page).
  const std::vector<QWidget*>& previews() const { return previews_; }

 public slots:
  void OnSave();
  void OnFind();
  void OnFindNext();
  void OnSearch(const salvor::carver::ui::FindQuery& query);
  void OnPreview();
  void OnToggleItem();
  void ShowFolder(const QModelIndex& folder);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void UpdateCounters();
  void OnFileActivated(const QModelIndex& index);
  void OnListMenu(const QPoint& at);
  void Preview(const FoundNode& file);
  void ShowHit(const FoundNode& node);
  const FoundNode* CurrentFile() const;

  TrawlerSession& session_;
  FoundTreeModel model_;
  QSortFilterProxyModel* folder_proxy_ = nullptr;
  QSortFilterProxyModel* file_proxy_ = nullptr;
  QTreeView* folders_ = nullptr;
  QTreeView* files_ = nullptr;
  QLabel* empty_ = nullptr;
  QLabel* total_files_ = nullptr;
  QLabel* selected_files_ = nullptr;
  QLabel* total_folders_ = nullptr;
  QLabel* selected_folders_ = nullptr;
  QLabel* total_data_ = nullptr;
  QLabel* selected_data_ = nullptr;
  QPushButton* find_next_ = nullptr;
  CFindDialog* find_ = nullptr;
  std::vector<const FoundNode*> hits_;
  std::size_t next_hit_ = 0;
  bool greeted_ = false;
  std::vector<QWidget*> previews_;
};

}  // namespace salvor::carver::ui
