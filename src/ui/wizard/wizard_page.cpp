#include "ui/wizard/wizard_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QVBoxLayout>

#include "disk/texts.h"
#include "ui/wizard/wizard_sheet.h"

namespace salvor::ui {

QString Qt8(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
  QIcon icon = QIcon::fromTheme(QLatin1String(name));
  return icon.isNull() ? QApplication::style()->standardIcon(fallback) : icon;
}

CWizardPageBase::CWizardPageBase(CWizardSheet* sheet, const QString& heading, QString help_topic)
    : QWizardPage(sheet), sheet_(sheet), help_topic_(std::move(help_topic)) {
  setTitle(heading);
  setAccessibleName(heading);
  auto* layout = new QVBoxLayout(this);
  content_ = new QVBoxLayout;
  layout->addLayout(content_, 1);
  startup_ = new QCheckBox(Qt8(text::kRunWizardOnStartup), this);
  startup_->setAccessibleName(QStringLiteral("Run wizard on startup"));
  layout->addWidget(startup_);
  connect(startup_, &QCheckBox::toggled, this,
          [this](bool on) { sheet_->state().run_on_startup = on; });
}

void CWizardPageBase::showEvent(QShowEvent* event) {
  startup_->setChecked(sheet_->state().run_on_startup);
  QWizardPage::showEvent(event);
}

}  // namespace salvor::ui
