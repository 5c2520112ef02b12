#include "carver/ui/excluded_types_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "carver/texts.h"
#include "carver/ui/ui_text.h"

namespace salvor::carver::ui {

CExcludedTypesDialog::CExcludedTypesDialog(std::vector<std::string>& excluded, QWidget* parent)
    : QDialog(parent), excluded_(excluded) {
  setWindowTitle(Text(text::kExcludedFileTypes));
  setAccessibleName(QStringLiteral("Excluded File Types"));
  list_ = new QListWidget(this);
  list_->setAccessibleName(QStringLiteral("File types to exclude"));
  for (const std::string& extension : excluded_) list_->addItem(QString::fromStdString(extension));
  auto* label = new QLabel(Text(text::kFileTypesToExclude), this);
  label->setBuddy(list_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  auto* clear = buttons->addButton(Text(text::kClearList), QDialogButtonBox::ResetRole);
  clear->setAccessibleName(QStringLiteral("Clear List"));
  buttons->button(QDialogButtonBox::Close)->setAccessibleName(QStringLiteral("Close"));
  connect(clear, &QPushButton::clicked, this, &CExcludedTypesDialog::OnClearList);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(list_);
  layout->addWidget(buttons);
}

void CExcludedTypesDialog::OnClearList() {
  excluded_.clear();
  list_->clear();
}

}  // namespace salvor::carver::ui
