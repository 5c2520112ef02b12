#pragma once
// The first page: the four tasks as large option buttons and what each does.

#include "ui/wizard/wizard_page.h"

class QAbstractButton;
class QButtonGroup;

namespace salvor::ui {

class CDescriptionPanel;

class CWizardMainPage : public CWizardPageBase {
 public:
  explicit CWizardMainPage(CWizardSheet* sheet);

  void initializePage() override;
  bool isComplete() const override;
  int nextId() const override;
  QString HelpTopic() const override;

 private:
  void Choose(int task);

  QButtonGroup* options_;
  CDescriptionPanel* panel_;
};

}  // namespace salvor::ui
