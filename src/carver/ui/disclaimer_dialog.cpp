#include "carver/ui/disclaimer_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "carver/texts.h"
#include "carver/ui/ui_text.h"

namespace salvor::carver::ui {

CDisclaimerDialog::CDisclaimerDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Text(text::kDisclaimerTitle));
  setAccessibleName(QStringLiteral("Disclaimer"));
  auto* message = new QLabel(Text(text::kDisclaimer), this);
  message->setWordWrap(true);
  message->setAccessibleName(QStringLiteral("Disclaimer text"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(message);
  layout->addWidget(buttons);
  setMinimumWidth(460);
}

}  // namespace salvor::carver::ui
