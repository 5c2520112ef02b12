#include "ui/wizard/wizard_main_page.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include "disk/texts.h"
#include "ui/wizard/description_panel.h"
#include "ui/wizard/wizard_sheet.h"

namespace salvor::ui {
namespace {

constexpr const char* kIcons[] = {"drive-harddisk", "media-optical", "edit-copy",
                                  "document-save"};
constexpr QStyle::StandardPixmap kFallbackIcons[] = {
    QStyle::SP_DriveHDIcon, QStyle::SP_DriveCDIcon, QStyle::SP_DialogSaveButton,
    QStyle::SP_DialogSaveButton};
constexpr const char* kTopics[] = {"ntfsrecoverdata.htm", "ntfsrecoverfromimage.htm",
                                   "ntfsclonedisk.htm", "ntfsdiskimaging.htm"};

QStringList MainPanelLines() {
  QStringList lines{Qt8(text::kMainPanelIntro)};
  for (std::string_view line : text::kMainPanelText) lines << Qt8(line);
  return lines;
}

}  // namespace

CWizardMainPage::CWizardMainPage(CWizardSheet* sheet)
    : CWizardPageBase(sheet, Qt8(text::kSelectOption), QStringLiteral("ntfswizardwin.htm")),
      options_(new QButtonGroup(this)),
      panel_(new CDescriptionPanel(this)) {
  auto* row = new QHBoxLayout;
  auto* buttons = new QVBoxLayout;
  const std::string_view labels[] = {text::kOptionRecoverDisk, text::kOptionRecoverImage,
                                     text::kOptionCloneDisk, text::kOptionImageDisk};
  for (int i = 0; i < 4; ++i) {
    auto* b = new QToolButton(this);
    b->setText(Qt8(labels[i]));
    b->setAccessibleName(Qt8(labels[i]).remove(QLatin1Char('&')).trimmed());
    b->setIcon(ThemeIcon(kIcons[i], kFallbackIcons[i]));
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setCheckable(true);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    options_->addButton(b, i);
    buttons->addWidget(b);
  }
  row->addLayout(buttons, 1);
  row->addWidget(panel_, 1);
  content()->addLayout(row);
  connect(options_, &QButtonGroup::idClicked, this, [this](int id) { Choose(id); });
}

void CWizardMainPage::initializePage() {
  WizardState& state = sheet()->state();
  state.fresh_start = true;
  state.task = WizardTaskKind::kNone;
  options_->setExclusive(false);
  for (QAbstractButton* b : options_->buttons()) b->setChecked(false);
  options_->setExclusive(true);
  panel_->SetLines(MainPanelLines());
  emit completeChanged();
}

void CWizardMainPage::Choose(int task) {
  sheet()->state().task = static_cast<WizardTaskKind>(task);
  QStringList lines;
  for (std::string_view line : text::kTaskPanelText[task]) lines << Qt8(line);
  panel_->SetLines(lines);
  emit completeChanged();
}

bool CWizardMainPage::isComplete() const {
  return sheet()->state().task != WizardTaskKind::kNone;
}

int CWizardMainPage::nextId() const {
  switch (sheet()->state().task) {
    case WizardTaskKind::kRecoverDisk: return CWizardSheet::kDrivePage;
    case WizardTaskKind::kRecoverImage: return CWizardSheet::kImagePage;
    case WizardTaskKind::kCloneDisk: return CWizardSheet::kClonePage;
    case WizardTaskKind::kImageDisk: return CWizardSheet::kImageDiskPage;
    case WizardTaskKind::kNone: break;
  }
  return CWizardSheet::kDrivePage;  // Next stays disabled until a task is chosen
}

QString CWizardMainPage::HelpTopic() const {
  auto task = static_cast<int>(sheet()->state().task);
  return task < 4 ? QLatin1String(kTopics[task]) : CWizardPageBase::HelpTopic();
}

}  // namespace salvor::ui
