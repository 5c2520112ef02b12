#include "ui/wizard/processing_mode_box.h"

#include <QRadioButton>
#include <QVBoxLayout>

#include "disk/texts.h"
#include "ui/wizard/wizard_page.h"

namespace salvor::ui {

CProcessingModeBox::CProcessingModeBox(const QString& title, QWidget* parent)
    : QGroupBox(title, parent),
      display_default(new QRadioButton(Qt8(text::kDisplayDefault), this)),
      search_lost(new QRadioButton(Qt8(text::kSearchLost), this)) {
  setAccessibleName(title);
  display_default->setAccessibleName(QStringLiteral("Display default partition(s)"));
  search_lost->setAccessibleName(QStringLiteral("Search for lost partition(s)"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(display_default);
  layout->addWidget(search_lost);
  Reset();
}

bool CProcessingModeBox::SearchLost() const { return search_lost->isChecked(); }

void CProcessingModeBox::Reset() {
  display_default->setChecked(true);
  setEnabled(false);
}

}  // namespace salvor::ui
