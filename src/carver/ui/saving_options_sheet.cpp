#include "carver/ui/saving_options_sheet.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "carver/texts.h"
#include "carver/ui/exclusion_rules.h"
#include "carver/ui/excluded_types_dialog.h"
#include "carver/ui/ui_text.h"
#include "ntfs/destination_check.h"

namespace salvor::carver::ui {
namespace {

QSpinBox* KilobyteBox(const char* name, quint64 bytes, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(0, 4 * 1024 * 1024);
  box->setSuffix(QStringLiteral(" KB"));
  box->setSpecialValueText(QStringLiteral("-"));
  box->setValue(static_cast<int>(bytes / 1024));
  box->setAccessibleName(QString::fromLatin1(name));
  return box;
}

bool OnSource(const QString& folder, const BlockDevice* source) {
  if (source == nullptr) return false;
  const int fd = open(folder.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool same = DestinationOnSource(fd, *source);
  close(fd);
  return same;
}

}  // namespace

CSavingOptionsSheet::CSavingOptionsSheet(const SaveRequest& initial, const BlockDevice* source,
                                         QWidget* parent)
    : QDialog(parent), request_(initial), source_(source) {
  setWindowTitle(Text(text::kSavingOptions));
  setAccessibleName(QStringLiteral("Saving Options"));
  auto* page = new QWidget(this);
  compress_ = new QCheckBox(Text(text::kCompressData), page);
  compress_->setAccessibleName(QStringLiteral("Compress Data"));
  compress_->setChecked(initial.compress);
  destination_ = new QLineEdit(QString::fromStdString(initial.destination), page);
  destination_->setAccessibleName(QStringLiteral("Location to save data"));
  auto* destination_label = new QLabel(Text(text::kProvideLocation), page);
  destination_label->setBuddy(destination_);
  auto* browse = new QPushButton(Text(text::kBrowse), page);
  browse->setAccessibleName(QStringLiteral("Browse"));
  connect(browse, &QPushButton::clicked, this, &CSavingOptionsSheet::OnBrowse);
  auto* destination_row = new QHBoxLayout;
  destination_row->addWidget(destination_, 1);
  destination_row->addWidget(browse);

  exclude_group_ = new QGroupBox(Text(text::kIgnoreTypes), page);
  exclude_group_->setCheckable(true);
  exclude_group_->setChecked(!initial.excluded.empty());
  exclude_group_->setAccessibleName(QStringLiteral("Ignore these file types before saving"));
  extension_ = new QLineEdit(exclude_group_);
  extension_->setPlaceholderText(Text(text::kExtensionHint));
  extension_->setAccessibleName(QStringLiteral("Extension to ignore"));
  auto* add = new QPushButton(Text(text::kAddToList), exclude_group_);
  add->setAccessibleName(QStringLiteral("Add to list"));
  auto* view = new QPushButton(Text(text::kViewList), exclude_group_);
  view->setAccessibleName(QStringLiteral("View List"));
  connect(add, &QPushButton::clicked, this, &CSavingOptionsSheet::OnAddToList);
  connect(view, &QPushButton::clicked, this, &CSavingOptionsSheet::OnViewList);
  auto* exclude_layout = new QHBoxLayout(exclude_group_);
  exclude_layout->addWidget(extension_, 1);
  exclude_layout->addWidget(add);
  exclude_layout->addWidget(view);

  size_group_ = new QGroupBox(Text(text::kSizeLimitsGroup), page);
  size_group_->setCheckable(true);
  size_group_->setChecked(initial.min_bytes != 0 || initial.max_bytes != 0);
  size_group_->setAccessibleName(QStringLiteral("Leave out files by size"));
  min_kb_ = KilobyteBox("Smaller than", initial.min_bytes, size_group_);
  max_kb_ = KilobyteBox("Larger than", initial.max_bytes, size_group_);
  auto* size_layout = new QFormLayout(size_group_);
  size_layout->addRow(Text(text::kSmallerThan), min_kb_);
  size_layout->addRow(Text(text::kLargerThan), max_kb_);

  auto* page_layout = new QVBoxLayout(page);
  page_layout->addWidget(compress_);
  page_layout->addWidget(destination_label);
  page_layout->addLayout(destination_row);
  page_layout->addWidget(exclude_group_);
  page_layout->addWidget(size_group_);
  page_layout->addStretch();
  auto* tabs = new QTabWidget(this);
  tabs->setAccessibleName(QStringLiteral("Saving Options pages"));
  tabs->addTab(page, Text(text::kSaveToLocalDrive));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CSavingOptionsSheet::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addWidget(buttons);
  resize(520, 420);
}

void CSavingOptionsSheet::OnBrowse() {
  const QString folder = QFileDialog::getExistingDirectory(this, Text(text::kProvideLocation),
                                                           destination_->text());
  if (!folder.isEmpty()) destination_->setText(QDir::toNativeSeparators(folder));
}

void CSavingOptionsSheet::OnAddToList() {
  const std::string extension = NormalizedExtension(extension_->text().toStdString());
  std::string_view problem;
  switch (CheckExtension(extension, request_.excluded)) {
    case ExtensionProblem::kEmptyOrListed: problem = text::kExtensionEmptyOrListed; break;
    case ExtensionProblem::kTooLong: problem = text::kExtensionTooLong; break;
    case ExtensionProblem::kBadCharacters: problem = text::kExtensionBadCharacters; break;
    case ExtensionProblem::kNone:
      request_.excluded.push_back(extension);
      extension_->clear();
      return;
  }
  QMessageBox::critical(this, Text(text::kCaptionError), Text(problem));
  extension_->selectAll();
}

void CSavingOptionsSheet::OnViewList() {
  CExcludedTypesDialog list(request_.excluded, this);
  list.exec();
}

void CSavingOptionsSheet::accept() {
  const QString folder = destination_->text().trimmed();
  if (folder.isEmpty() || !QDir().mkpath(folder)) {
    QMessageBox::critical(this, Text(text::kCaptionError), Text(text::kFailedToWriteDestination));
    return;
  }
  const quint64 min_bytes = size_group_->isChecked() ? quint64(min_kb_->value()) * 1024 : 0;
  const quint64 max_bytes = size_group_->isChecked() ? quint64(max_kb_->value()) * 1024 : 0;
  if (max_bytes != 0 && min_bytes > max_bytes) {
    QMessageBox::critical(this, Text(text::kCaptionError), Text(text::kSizeLimitsInverted));
    return;
  }
  if (OnSource(folder, source_) &&
      QMessageBox::warning(this, Text(text::kProgramTitle), Text(text::kSameLocationWarning),
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return;
  request_.destination = folder.toStdString();
  request_.compress = compress_->isChecked();
  if (!exclude_group_->isChecked()) request_.excluded.clear();
  request_.min_bytes = min_bytes;
  request_.max_bytes = max_bytes;
  QDialog::accept();
}

}  // namespace salvor::carver::ui
