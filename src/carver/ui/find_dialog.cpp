#include "carver/ui/find_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "carver/texts.h"
#include "carver/ui/ui_text.h"

namespace salvor::carver::ui {

CFindDialog::CFindDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Text(text::kFindTitle));
  setAccessibleName(QStringLiteral("Find"));
  pattern_ = new QLineEdit(QStringLiteral("*"), this);
  pattern_->setAccessibleName(QStringLiteral("Find What"));
  auto* pattern_label = new QLabel(Text(text::kFindWhat), this);
  pattern_label->setBuddy(pattern_);
  match_case_ = new QCheckBox(Text(text::kMatchCase), this);
  match_case_->setAccessibleName(QStringLiteral("Match Case"));

  size_group_ = new QGroupBox(Text(text::kSizeOption), this);
  size_group_->setCheckable(true);
  size_group_->setChecked(false);
  size_group_->setAccessibleName(QStringLiteral("Size"));
  bound_ = new QComboBox(size_group_);
  bound_->addItems({Text(text::kAtMost), Text(text::kAtLeast)});
  bound_->setAccessibleName(QStringLiteral("Size bound"));
  size_kb_ = new QLineEdit(size_group_);
  size_kb_->setAccessibleName(QStringLiteral("Size in KB"));
  size_kb_->setValidator(new QIntValidator(size_kb_));
  auto* size_layout = new QHBoxLayout(size_group_);
  size_layout->addWidget(bound_);
  size_layout->addWidget(size_kb_);
  size_layout->addWidget(new QLabel(Text(text::kUnitKB), size_group_));

  options_ = new QWidget(this);
  auto* options_layout = new QVBoxLayout(options_);
  options_layout->setContentsMargins(0, 0, 0, 0);
  options_layout->addWidget(size_group_);

  auto* search = new QPushButton(Text(text::kSearchNow), this);
  search->setAccessibleName(QStringLiteral("Search Now"));
  search->setDefault(true);
  toggle_ = new QPushButton(Text(text::kHideOptions), this);
  toggle_->setAccessibleName(QStringLiteral("Options"));
  auto* close = new QPushButton(Text(text::kCancel), this);
  close->setAccessibleName(QStringLiteral("Cancel"));
  connect(search, &QPushButton::clicked, this, &CFindDialog::OnSearchNow);
  connect(toggle_, &QPushButton::clicked, this, &CFindDialog::OnToggleOptions);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto* form = new QFormLayout;
  form->addRow(pattern_label, pattern_);
  form->addRow(QString(), match_case_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(toggle_);
  buttons->addStretch();
  buttons->addWidget(search);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(options_);
  layout->addLayout(buttons);
}

void CFindDialog::OnToggleOptions() {
  const bool show = options_->isHidden();
  options_->setVisible(show);
  toggle_->setText(Text(show ? text::kHideOptions : text::kShowOptions));
  adjustSize();
}

void CFindDialog::OnSearchNow() {
  FindQuery query;
  query.pattern = pattern_->text().toStdString();
  query.match_case = match_case_->isChecked();
  if (size_group_->isChecked()) {
    if (size_kb_->text().isEmpty()) {
      QMessageBox::critical(this, Text(text::kCaptionError), Text(text::kProvideSizeKB));
      return;
    }
    const long long kb = size_kb_->text().toLongLong();
    if (kb <= 0) {
      QMessageBox::critical(this, Text(text::kCaptionError), Text(text::kSizeAboveZero));
      return;
    }
    query.bound = bound_->currentIndex() == 0 ? SizeBound::kAtMost : SizeBound::kAtLeast;
    query.size_bytes = static_cast<std::uint64_t>(kb) * 1024;
  }
  emit searchRequested(query);
}

}  // namespace salvor::carver::ui
