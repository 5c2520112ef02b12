#pragma once
// The found-file tree as an item model: folders ("Raw Data", categories,
// extensions) with tri-state check boxes and files with their sizes. A
// folder's own checked byte is set while anything below it is checked, which
// is what the saver walks by; its shown state says whether all, some or none
// of what lies below is checked.

#include <QAbstractItemModel>
#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>

#include "carver/found_tree.h"

namespace salvor::carver::ui {

struct FoundTotals {
  quint64 files = 0, selected_files = 0;
  quint64 folders = 0, selected_folders = 0;
  quint64 bytes = 0, selected_bytes = 0;
};

class FoundTreeModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  enum Column { kNameColumn, kSizeColumn, kNoteColumn, kColumnCount };
  static constexpr int kSortRole = Qt::UserRole;
  static constexpr int kIsFolderRole = Qt::UserRole + 1;

  explicit FoundTreeModel(QObject* parent = nullptr) : QAbstractItemModel(parent) {}

  // `root` is the tree's "." node; it stays the caller's.
  void SetTree(FoundNode* root, std::set<std::string> unmeasured_extensions);
  FoundNode* Node(const QModelIndex& index) const;
  QModelIndex IndexOf(const FoundNode* node, int column = 0) const;
  const FoundTotals& totals() const { return totals_; }
  // Re-reads the checked bytes after the engine changed them (exclusions,
  // size limits).
  void Refresh();
  bool LengthMeasured(const FoundNode& file) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;

 signals:
  void totalsChanged();

 private:
  void Recount();
  Qt::CheckState Recount(const FoundNode& folder);
  void AnnounceSubtree(const FoundNode& folder);

  FoundNode* root_ = nullptr;
  std::set<std::string> unmeasured_;
  std::unordered_map<const FoundNode*, Qt::CheckState> folder_state_;
  FoundTotals totals_;
};

}  // namespace salvor::carver::ui
