#include "ui/tip_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "disk/texts.h"
#include "ui/ui_text.h"

namespace {
const QString kTipKey = QStringLiteral("Tip/ShowAtStartUp");
}

bool CTipDialog::ShowAtStartUp() { return QSettings().value(kTipKey, true).toBool(); }

CTipDialog::CTipDialog(const QString& folder, QWidget* parent)
    : QDialog(parent), text_(new QLabel(this)), at_start_up_(new QCheckBox(this)) {
  setWindowTitle(UiText(salvor::text::kTipTitle));
  setAccessibleName(UiText(salvor::text::kTipTitle));
  const QString path = QDir(folder).filePath(UiText(salvor::text::kTipsFileName));
  QFile file(path);
  if (!file.exists()) {
    QDir().mkpath(folder);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
      file.write(QByteArray::fromStdString(std::string(salvor::text::kDefaultTip)));
      file.close();
    }
  }
  if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    for (const QByteArray& line : file.readAll().split('\n'))
      if (!line.trimmed().isEmpty()) tips_.push_back(QString::fromUtf8(line.trimmed()));
  }
  if (tips_.isEmpty()) tips_.push_back(UiText(salvor::text::kDefaultTip).trimmed());
  text_->setAccessibleName(QStringLiteral("Tip Text"));
  text_->setWordWrap(true);
  text_->setMinimumSize(360, 90);
  text_->setText(tips_.front());
  at_start_up_->setText(UiText(salvor::text::kTipShowAtStartUp));
  at_start_up_->setAccessibleName(QStringLiteral("Show Tips At Start-up"));
  at_start_up_->setChecked(ShowAtStartUp());
  connect(at_start_up_, &QCheckBox::toggled, this,
          [](bool on) { QSettings().setValue(kTipKey, on); });
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* next = buttons->addButton(UiText(salvor::text::kTipNext), QDialogButtonBox::ActionRole);
  next->setAccessibleName(QStringLiteral("Next Tip"));
  QPushButton* close = buttons->addButton(UiText(salvor::text::kClose), QDialogButtonBox::RejectRole);
  close->setAccessibleName(UiText(salvor::text::kClose));
  connect(next, &QPushButton::clicked, this, &CTipDialog::Next);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(at_start_up_);
  layout->addWidget(buttons);
}

QString CTipDialog::tip() const { return text_->text(); }

void CTipDialog::Next() {
  shown_ = (shown_ + 1) % static_cast<int>(tips_.size());
  text_->setText(tips_[shown_]);
}
