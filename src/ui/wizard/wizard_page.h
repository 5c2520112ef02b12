#pragma once
// What every page of the wizard has: its heading, the shared "&Run wizard on
// startup" box under its own controls, and its help topic.

#include <QIcon>
#include <QStyle>
#include <QWizardPage>
#include <string_view>

class QCheckBox;
class QVBoxLayout;

namespace salvor::ui {

class CWizardSheet;

class CWizardPageBase : public QWizardPage {
 public:
  CWizardPageBase(CWizardSheet* sheet, const QString& heading, QString help_topic);

  virtual QString HelpTopic() const { return help_topic_; }

 protected:
  // The shared box is one value shown on every page: refreshed whenever a page appears.
  void showEvent(QShowEvent* event) override;
  CWizardSheet* sheet() const { return sheet_; }
  QVBoxLayout* content() const { return content_; }

 private:
  CWizardSheet* sheet_;
  QString help_topic_;
  QVBoxLayout* content_;
  QCheckBox* startup_;
};

QString Qt8(std::string_view s);
// The desktop theme's icon, or the style's own where the theme has none.
QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback);

}  // namespace salvor::ui
