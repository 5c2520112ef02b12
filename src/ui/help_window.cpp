#include "ui/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "disk/texts.h"
#include "ui/ui_text.h"

QString HelpFolder() { return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help")); }

CHelpWindow::CHelpWindow(const QString& folder, QWidget* parent)
    : QDialog(parent), browser_(new QTextBrowser(this)) {
  setWindowTitle(UiText(salvor::text::kHelpTitle));
  setAccessibleName(UiText(salvor::text::kHelpTitle));
  browser_->setAccessibleName(QStringLiteral("Help Page"));
  browser_->setSearchPaths({folder});
  browser_->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  resize(720, 560);
  ShowTopic(QStringLiteral("index.html"));
}

void CHelpWindow::ShowTopic(const QString& name) { browser_->setSource(QUrl(name)); }
