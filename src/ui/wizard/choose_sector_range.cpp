#include "ui/wizard/choose_sector_range.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "disk/texts.h"
#include "partitions/scan_range.h"
#include "ui/wizard/scan_area.h"
#include "ui/wizard/wizard_page.h"

namespace salvor::ui {
namespace {

CScanArea* Swatch(QWidget* parent, const QColor& colour) {
  auto* swatch = new CScanArea(parent);
  swatch->SetBackground(colour);
  swatch->setFixedSize(18, 14);
  return swatch;
}

}  // namespace

CChooseSectorRange::CChooseSectorRange(std::uint64_t total_sectors, std::uint16_t bytes_per_sector,
                                       QWidget* parent)
    : QDialog(parent), total_(total_sectors), bytes_per_sector_(bytes_per_sector) {
  setWindowTitle(Qt8(text::kScanRangeTitle));
  setAccessibleName(Qt8(text::kScanRangeTitle));
  const QString total = QString::number(total_);
  const auto digits = static_cast<int>(RangeEditDigits(total_));
  auto make_edit = [&](const QString& value, const QString& name) {
    auto* edit = new QLineEdit(value, this);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), edit));
    edit->setMaxLength(digits);
    edit->setAlignment(Qt::AlignRight);
    edit->setAccessibleName(name);
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this, [this] { Check(); });
    return edit;
  };
  start_ = make_edit(QStringLiteral("0"), QStringLiteral("Starting Sector"));
  end_ = make_edit(total, QStringLiteral("Ending Sector"));

  const QString number = QStringLiteral("<font color='#4d7c99'>%1</font>");
  auto* intro = new QLabel(
      Qt8(text::kSpecifyRange) + QStringLiteral("<br>Default Range ") + number.arg(0) +
          QStringLiteral(" to ") + number.arg(total) + QStringLiteral(" sectors"),
      this);
  intro->setAccessibleName(QStringLiteral("Default range"));
  information_ = new QLabel(this);
  information_->setAccessibleName(QStringLiteral("Information"));
  QFont bold(QStringLiteral("Verdana"));
  bold.setBold(true);
  information_->setFont(bold);
  bar_ = new CScanArea(this);
  bar_->setAccessibleName(QStringLiteral("Scan area"));
  bar_->setMinimumHeight(20);

  auto* form = new QFormLayout;
  form->addRow(Qt8(text::kStartingSector), start_);
  form->addRow(Qt8(text::kEndingSector), end_);
  auto* legend = new QHBoxLayout;
  legend->addWidget(Swatch(this, ScanAreaColour()));
  legend->addWidget(new QLabel(Qt8(text::kScanAreaLegend), this));
  legend->addSpacing(12);
  legend->addWidget(Swatch(this, Qt::white));
  legend->addWidget(new QLabel(Qt8(text::kExcludedAreaLegend), this));
  legend->addStretch(1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setAccessibleName(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addLayout(form);
  layout->addWidget(information_);
  layout->addWidget(bar_);
  layout->addLayout(legend);
  layout->addWidget(buttons);
  Check();
}

std::uint64_t CChooseSectorRange::StartSector() const { return start_->text().toULongLong(); }
std::uint64_t CChooseSectorRange::EndSector() const { return end_->text().toULongLong(); }

bool CChooseSectorRange::eventFilter(QObject* watched, QEvent* event) {
  // An edit left empty gets its default back.
  if (event->type() == QEvent::FocusOut) {
    if (watched == start_ && start_->text().isEmpty()) start_->setText(QStringLiteral("0"));
    if (watched == end_ && end_->text().isEmpty()) end_->setText(QString::number(total_));
  }
  return QDialog::eventFilter(watched, event);
}

void CChooseSectorRange::Check() {
  const std::uint64_t start = StartSector();
  const std::uint64_t end = EndSector();
  if (auto fault = CheckSectorRange(start, end, total_)) {
    information_->setText(Qt8(*fault));
    bar_->SetArea(1, 0);
    ok_->setEnabled(false);
    return;
  }
  information_->setText(QString::fromStdString(SectorRangeSizeText(start, end, bytes_per_sector_)));
  ScanAreaBar area = ScanAreaPercentages(start, end, total_);
  bar_->SetArea(area.start_percent, area.end_percent);
  ok_->setEnabled(true);
}

}  // namespace salvor::ui
