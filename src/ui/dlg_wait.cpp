#include "ui/dlg_wait.h"

#include <QLabel>
#include <QVBoxLayout>

#include "disk/texts.h"
#include "ui/ui_text.h"

CDlgWait::CDlgWait(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
  setWindowTitle(UiText(salvor::text::kWaitTitle));
  setAccessibleName(UiText(salvor::text::kWaitTitle));
  auto* label = new QLabel(UiText(salvor::text::kWaitRefreshing), this);
  label->setAccessibleName(QStringLiteral("Wait Text"));
  label->setAlignment(Qt::AlignCenter);
  QFont font(QStringLiteral("Verdana"));
  font.setPointSize(14);
  label->setFont(font);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 18, 24, 18);
  layout->addWidget(label);
}

void CDlgWait::Open() {
  show();
  repaint();
}
