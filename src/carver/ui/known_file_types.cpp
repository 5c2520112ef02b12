#include "carver/ui/known_file_types.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/carving_operations.h"
#include "carver/end_handlers.h"
#include "carver/texts.h"
#include "carver/ui/help_window.h"
#include "carver/ui/trawler_session.h"
#include "carver/ui/ui_text.h"
#include "carver/ui/worker_host.h"

namespace salvor::carver::ui {
namespace {

constexpr int kRecordRole = Qt::UserRole;
constexpr std::uint64_t kUnitFactors[] = {1024, 1u << 20, 1u << 30};
constexpr int kUnitDigits[] = {7, 4, 1};
constexpr std::uint64_t kLargestSize = std::uint64_t{1} << 32;

QPushButton* Button(std::string_view label, const char* name, QWidget* parent) {
  auto* button = new QPushButton(Text(label), parent);
  button->setAccessibleName(QString::fromLatin1(name));
  return button;
}

}  // namespace

CVarnokKnownFileTypes::CVarnokKnownFileTypes(TrawlerSession& session,
                                             std::filesystem::path database, QWidget* parent)
    : QDialog(parent), session_(session), database_path_(std::move(database)) {
  setWindowTitle(Text(text::kSelectFileTypes));
  setAccessibleName(QStringLiteral("File type page"));
  category_ = new QComboBox(this);
  category_->setAccessibleName(QStringLiteral("Category"));
  types_ = new QTreeWidget(this);
  types_->setAccessibleName(QStringLiteral("File types"));
  types_->setRootIsDecorated(false);
  types_->setHeaderLabels({Text(text::kColumnName), Text(text::kColumnExtension),
                           Text(text::kColumnCategory)});
  types_->setSortingEnabled(true);
  types_->sortByColumn(-1, Qt::AscendingOrder);
  types_->header()->setSectionResizeMode(0, QHeaderView::Stretch);

  auto* select_all = Button(text::kSelectAll, "Select All", this);
  auto* deselect_all = Button(text::kDeselectAll, "Deselect All", this);
  auto* select_group = new QGroupBox(Text(text::kSelectDeselectGroup), this);
  auto* select_layout = new QHBoxLayout(select_group);
  select_layout->addWidget(select_all);
  select_layout->addWidget(deselect_all);

  size_ = new QLineEdit(QStringLiteral("1"), this);
  size_->setAccessibleName(QStringLiteral("Maximum file size"));
  size_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), size_));
  size_->setMaxLength(kUnitDigits[0]);
  unit_ = new QComboBox(this);
  unit_->setAccessibleName(QStringLiteral("Size unit"));
  unit_->addItems({Text(text::kUnitKB), Text(text::kUnitMB), Text(text::kUnitGB)});
  auto* size_group = new QGroupBox(Text(text::kMaxSizeGroup), this);
  auto* size_layout = new QHBoxLayout(size_group);
  size_layout->addWidget(size_);
  size_layout->addWidget(unit_);

  next_ = Button(text::kNext, "Next", this);
  next_->setDefault(true);
  auto* back = Button(text::kBack, "Back", this);
  auto* home = Button(text::kHome, "Home", this);
  home->setIcon(QIcon::fromTheme(QStringLiteral("go-home")));
  auto* cancel = Button(text::kCancel, "Cancel", this);

  connect(category_, &QComboBox::currentIndexChanged, this, &CVarnokKnownFileTypes::OnCategoryChanged);
  connect(types_, &QTreeWidget::itemChanged, this, &CVarnokKnownFileTypes::OnItemChanged);
  connect(select_all, &QPushButton::clicked, this, &CVarnokKnownFileTypes::OnSelectAll);
  connect(deselect_all, &QPushButton::clicked, this, &CVarnokKnownFileTypes::OnDeselectAll);
  connect(size_, &QLineEdit::textEdited, this, &CVarnokKnownFileTypes::OnSizeEdited);
  connect(unit_, &QComboBox::currentIndexChanged, this, &CVarnokKnownFileTypes::OnUnitChanged);
  connect(next_, &QPushButton::clicked, this, &CVarnokKnownFileTypes::OnNext);
  connect(back, &QPushButton::clicked, this, [this] { done(kPageBack); });
  connect(home, &QPushButton::clicked, this, [this] { done(kPageHome); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* category_row = new QHBoxLayout;
  auto* category_label = new QLabel(Text(text::kColumnCategory) + QLatin1Char(':'), this);
  category_label->setBuddy(category_);
  category_row->addWidget(category_label);
  category_row->addWidget(category_, 1);
  auto* groups = new QHBoxLayout;
  groups->addWidget(select_group);
  groups->addWidget(size_group);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(home);
  buttons->addWidget(AddHelp(this, HelpTopic::kFileTypes));
  buttons->addStretch();
  buttons->addWidget(back);
  buttons->addWidget(next_);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(category_row);
  layout->addWidget(types_, 1);
  layout->addLayout(groups);
  layout->addLayout(buttons);
  resize(720, 520);
  UpdateNext();
}

void CVarnokKnownFileTypes::Load() {
  WorkerHost host(this);
  auto loaded = LoadSignatures(database_path_, host);
  if (loaded) database_ = std::move(*loaded);
  // Only 1 means checked on opening; any other stored value would otherwise
  // be shown unchecked and still be kept for the scan.
  for (SignatureRecord& rec : database_) rec.selected = rec.selected == 1 ? 1 : 0;
  const QSignalBlocker block(types_);
  for (std::size_t i = 0; i < database_.size(); ++i) {
    const SignatureRecord& rec = database_[i];
    auto* item = new QTreeWidgetItem(types_, {QString::fromStdString(rec.name),
                                              QString::fromStdString(rec.extension),
                                              QString::fromStdString(rec.category)});
    item->setData(0, kRecordRole, static_cast<int>(i));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, rec.selected == 1 ? Qt::Checked : Qt::Unchecked);
    const QString category = QString::fromStdString(rec.category);
    if (category_->findText(category) < 0) category_->addItem(category);
  }
  category_->addItem(Text(text::kAllCategories));
  category_->setCurrentIndex(category_->count() - 1);
  if (database_.empty()) {
    auto* empty = new QTreeWidgetItem(types_, {Text(text::kNoFileTypesFound)});
    empty->setFlags(Qt::NoItemFlags);
  }
  UpdateNext();
}

void CVarnokKnownFileTypes::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Read when shown, so that a database that cannot be read is reported
  // over the page.
  if (!loaded_) {
    loaded_ = true;
    Load();
  }
}

void CVarnokKnownFileTypes::OnCategoryChanged() {
  const bool all = category_->currentIndex() == category_->count() - 1;
  const QString category = category_->currentText();
  for (int i = 0; i < types_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = types_->topLevelItem(i);
    if (!item->data(0, kRecordRole).isValid()) continue;
    item->setHidden(!all && item->text(2) != category);
  }
}

void CVarnokKnownFileTypes::OnItemChanged(QTreeWidgetItem* item) {
  const QVariant index = item->data(0, kRecordRole);
  if (!index.isValid()) return;
  database_[static_cast<std::size_t>(index.toInt())].selected =
      item->checkState(0) == Qt::Checked ? 1 : 0;
  UpdateNext();
}

void CVarnokKnownFileTypes::SetShownChecked(bool checked) {
  for (int i = 0; i < types_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = types_->topLevelItem(i);
    if (!item->isHidden() && item->data(0, kRecordRole).isValid())
      item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
  }
}

void CVarnokKnownFileTypes::OnSelectAll() { SetShownChecked(true); }
void CVarnokKnownFileTypes::OnDeselectAll() { SetShownChecked(false); }

std::optional<std::uint64_t> CVarnokKnownFileTypes::MaximumBytes() const {
  bool ok = false;
  const std::uint64_t value = size_->text().toULongLong(&ok);
  const std::uint64_t bytes = value * kUnitFactors[std::max(0, unit_->currentIndex())];
  if (!ok || bytes == 0 || bytes > kLargestSize) return std::nullopt;
  return bytes;
}

void CVarnokKnownFileTypes::OnSizeEdited() {
  // An emptied field is only half typed: it blocks "Next" without a message.
  if (!size_->text().isEmpty() && !MaximumBytes()) {
    QMessageBox box(QMessageBox::NoIcon, Text(text::kCaptionError), Text(text::kSizeRange),
                    QMessageBox::Ok, this);
    box.exec();
    size_->selectAll();
    size_->setFocus();
  }
  UpdateNext();
}

void CVarnokKnownFileTypes::OnUnitChanged() {
  size_->setMaxLength(kUnitDigits[std::max(0, unit_->currentIndex())]);
  size_->setText(QStringLiteral("1"));
  UpdateNext();
}

bool CVarnokKnownFileTypes::AnyChecked() const {
  return std::any_of(database_.begin(), database_.end(),
                     [](const SignatureRecord& r) { return r.selected == 1; });
}

void CVarnokKnownFileTypes::UpdateNext() { next_->setEnabled(AnyChecked() && MaximumBytes()); }

void CVarnokKnownFileTypes::OnNext() {
  const auto bytes = MaximumBytes();
  if (!bytes || !AnyChecked()) return;
  // The page's check boxes are the records' own choice.
  SignatureSelection checked;
  checked.maximum_bytes = *bytes;
  session_.selected = SelectSignatures(database_, checked);
  session_.unmeasured_extensions.clear();
  for (const SignatureRecord& rec : session_.selected) {
    if (!HasEndHandler(rec.type_code)) session_.unmeasured_extensions.insert(QString::fromStdString(rec.extension).toLower().toStdString());
  }
  accept();
}

}  // namespace salvor::carver::ui
