#include "ui/wizard/disk_scan_mode.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "disk/texts.h"
#include "ui/wizard/wizard_page.h"

namespace salvor::ui {

CDiskScanMode::CDiskScanMode(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Qt8(text::kDiskScanModeTitle));
  setAccessibleName(Qt8(text::kDiskScanModeTitle));
  auto* group = new QGroupBox(Qt8(text::kSelectSearchMethod), this);
  group->setAccessibleName(QStringLiteral("Select Search Method"));
  auto* quick = new QRadioButton(Qt8(text::kQuickScanOption), group);
  quick->setAccessibleName(QStringLiteral("Quick Scan"));
  thorough_ = new QRadioButton(Qt8(text::kThoroughScanOption), group);
  thorough_->setAccessibleName(QStringLiteral("Thorough Scan"));
  quick->setChecked(true);
  auto* inner = new QVBoxLayout(group);
  inner->addWidget(quick);
  inner->addWidget(thorough_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons);
}

bool CDiskScanMode::Thorough() const { return thorough_->isChecked(); }

}  // namespace salvor::ui
