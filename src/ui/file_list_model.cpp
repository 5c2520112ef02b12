#include "ui/file_list_model.h"

#include <QBrush>
#include <QFont>
#include <algorithm>

#include "disk/texts.h"
#include "ntfs/scan_database.h"
#include "ntfs/scan_database_reader.h"
#include "ui/item_icons.h"
#include "ui/ui_text.h"

namespace {

// A DOS date as day-month-year; an empty cell for 0.
QString DosDateText(std::uint16_t date) {
  if (date == 0) return {};
  const int day = date & 0x1F;
  const int month = (date >> 5) & 0x0F;
  const int year = 1980 + (date >> 9);
  return QString::asprintf(salvor::text::kListDate, day, month, year);
}

}  // namespace

bool CFileListModel::Row::folder() const { return (flags & salvor::kEntryFolder) != 0; }
bool CFileListModel::Row::present() const { return (flags & salvor::kEntryPresent) != 0; }

CFileListModel::CFileListModel(QObject* parent) : QAbstractTableModel(parent) {}

void CFileListModel::Clear() {
  beginResetModel();
  rows_.clear();
  rows_.shrink_to_fit();
  endResetModel();
}

bool CFileListModel::ShowFolder(salvor::ScanDatabaseReader& db, std::uint32_t entry) {
  beginResetModel();
  rows_.clear();
  folder_ = entry;
  const std::optional<salvor::EntryNode> node = db.ReadEntry(entry);
  const bool readable = node.has_value();
  // Entry 0 lists its children in the block at offset 0; other entries
  // without a block have none.
  if (node && (entry == salvor::kTopEntry || node->child_block != 0)) {
    std::vector<Row> files;
    db.VisitChildren(node->child_block, [&](const salvor::EntryNode& child) {
      Row row;
      row.size = child.size;
      row.entry = child.entry_number;
      row.own_record = child.own_record;
      row.parent_record = child.parent_record;
      row.flags = child.flags;
      row.created = child.creation_date;
      row.accessed = child.access_date;
      row.name = QString::fromUtf16(child.name.data(), static_cast<qsizetype>(child.name.size()));
      (child.folder() ? rows_ : files).push_back(std::move(row));
      return true;
    });
    rows_.reserve(rows_.size() + files.size());
    std::move(files.begin(), files.end(), std::back_inserter(rows_));
  }
  endResetModel();
  return readable;
}

std::uint32_t CFileListModel::EntryOf(int row) const {
  return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)].entry : 0;
}

bool CFileListModel::IsFolder(int row) const {
  return row >= 0 && row < static_cast<int>(rows_.size()) && rows_[static_cast<std::size_t>(row)].folder();
}

void CFileListModel::SetLastFound(std::uint32_t entry) {
  last_found_ = entry;
  has_last_found_ = entry != 0;
  if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
}

int CFileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CFileListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant CFileListModel::Display(const Row& row, int column) const {
  switch (column) {
    case kName:
      return row.name;
    case kSize:
      return QString::number(row.folder() ? 0 : row.size);
    case kType:
      return UiText(row.folder() ? salvor::text::kTypeFolder : salvor::text::kTypeFile);
    case kAccessed:
      return DosDateText(row.accessed);
    case kCreated:
      return DosDateText(row.created);
    case kFileId:
      return QString::number(row.own_record);
    case kParentId:
      return QString::number(row.parent_record);
    default:
      return {};
  }
}

QVariant CFileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const Row& row = rows_[static_cast<std::size_t>(index.row())];
  const bool found = has_last_found_ && row.entry == last_found_;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return Display(row, index.column());
    case Qt::DecorationRole:
      if (index.column() != kName) return {};
      return row.folder() ? ItemIcons::Folder(!row.present()) : ItemIcons::File(!row.present());
    case Qt::TextAlignmentRole:
      if (index.column() == kName || index.column() == kType)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
      if (found) return QBrush(QColor(251, 248, 191));
      return QBrush(index.row() % 2 == 0 ? QColor(232, 232, 244) : QColor(Qt::white));
    case Qt::ForegroundRole:
      return QBrush(found ? QColor(255, 0, 0) : QColor(Qt::black));
    case Qt::FontRole:
      if (found) {
        QFont font(QStringLiteral("Verdana"));
        font.setPixelSize(13);
        font.setWeight(QFont::Black);
        return font;
      }
      return {};
    default:
      return {};
  }
}

QVariant CFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue((section == kName || section == kType ? Qt::AlignLeft : Qt::AlignRight) |
                               Qt::AlignVCenter);
  // A click on another column sorts in the direction the header shows now.
  if (role == Qt::InitialSortOrderRole) return static_cast<int>(sort_order_);
  if (role != Qt::DisplayRole) return {};
  static constexpr std::string_view kTitles[kColumnCount] = {
      salvor::text::kColumnFileName, salvor::text::kColumnSize,     salvor::text::kColumnType,
      salvor::text::kColumnAccessed, salvor::text::kColumnCreated,  salvor::text::kColumnFileId,
      salvor::text::kColumnParentId};
  return section >= 0 && section < kColumnCount ? UiText(kTitles[section]) : QVariant();
}

void CFileListModel::sort(int column, Qt::SortOrder order) {
  if (rows_.empty() || column < 0 || column >= kColumnCount) return;
  auto less = [column](const Row& a, const Row& b) {
    switch (column) {
      case kName:
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
      case kType:
        return !a.folder() && b.folder();  // "File" before "Folder", as text
      case kSize:
        return (a.folder() ? 0 : a.size) < (b.folder() ? 0 : b.size);
      case kAccessed:
        return a.accessed < b.accessed;  // year, month, day from the high bits down
      case kCreated:
        return a.created < b.created;
      case kFileId:
        return a.own_record < b.own_record;
      default:
        return a.parent_record < b.parent_record;
    }
  };
  sort_order_ = order;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  if (order == Qt::AscendingOrder)
    std::stable_sort(rows_.begin(), rows_.end(), less);
  else
    std::stable_sort(rows_.begin(), rows_.end(), [&](const Row& a, const Row& b) { return less(b, a); });
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
