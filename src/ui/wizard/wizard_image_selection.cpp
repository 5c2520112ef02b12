#include "ui/wizard/wizard_image_selection.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>

#include "disk/sector_source.h"
#include "disk/texts.h"
#include "ui/wizard/processing_mode_box.h"
#include "ui/wizard/wizard_sheet.h"

namespace salvor::ui {

QString AskImagePath(QWidget* parent, bool save, const QString& proposed) {
  QFileDialog dialog(parent, Qt8(text::kImageFileTitle));
  dialog.setObjectName(QStringLiteral("ImageFileDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilter(Qt8(text::kImageFilter));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save) {
    dialog.setDefaultSuffix(QStringLiteral("vk2"));
    dialog.selectFile(proposed);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

CwizardImageSelection::CwizardImageSelection(CWizardSheet* sheet)
    : CWizardPageBase(sheet, Qt8(text::kSelectImageHeading),
                      QStringLiteral("ntfsselectanimagefileforproce.htm")),
      path_line_(new QLabel(this)),
      space_line_(new QLabel(this)),
      modes_(new CProcessingModeBox(Qt8(text::kImageProcessingMode), this)) {
  auto* choose = new QPushButton(Qt8(text::kSelectImageFile), this);
  choose->setAccessibleName(QStringLiteral("Select Image File"));
  path_line_->setAccessibleName(Qt8(text::kSelectedFilePath));
  space_line_->setAccessibleName(QStringLiteral("Space available"));
  path_line_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* form = new QFormLayout;
  form->addRow(choose);
  form->addRow(Qt8(text::kSelectedFilePath), path_line_);
  form->addRow(Qt8(text::kSpaceAvailableHeading), space_line_);
  content()->addLayout(form);
  content()->addWidget(modes_);
  content()->addStretch(1);
  connect(choose, &QPushButton::clicked, this, [this] { ChooseFile(); });
}

void CwizardImageSelection::initializePage() {
  WizardState& state = sheet()->state();
  if (!state.fresh_start) return;
  state.fresh_start = false;
  state.image_path.clear();
  path_line_->clear();
  space_line_->clear();
  modes_->Reset();
  emit completeChanged();
}

void CwizardImageSelection::ChooseFile() {
  QString path = AskImagePath(this, false);
  if (!path.isEmpty()) UseFile(path);
}

void CwizardImageSelection::UseFile(const QString& path) {
  sheet()->state().image_path = path.toStdString();
  path_line_->setText(Qt8(text::kFilePathLine) + path);
  const auto space = static_cast<unsigned long long>(QStorageInfo(path).bytesAvailable());
  space_line_->setText(QString::fromStdString(Format(text::kSpaceAvailable, space)));
  modes_->setEnabled(true);
  emit completeChanged();
}

bool CwizardImageSelection::isComplete() const { return !sheet()->state().image_path.empty(); }

bool CwizardImageSelection::validatePage() {
  sheet()->state().search_lost = modes_->SearchLost();
  return sheet()->OpenSourceAndListVolumes(true);
}

int CwizardImageSelection::nextId() const { return CWizardSheet::kPartitionPage; }

}  // namespace salvor::ui
