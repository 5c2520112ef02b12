#pragma once
// The help window: our own HTML pages, shipped in the "help" folder beside
// the program, shown in a browser with links between them.

#include <QDialog>
#include <QString>

class QTextBrowser;

// The folder of the help pages and of the tips file.
QString HelpFolder();

class CHelpWindow : public QDialog {
  Q_OBJECT

 public:
  CHelpWindow(const QString& folder, QWidget* parent = nullptr);
  // Shows the page `name` ("index.html", "turbo-scan.html", ...).
  void ShowTopic(const QString& name);
  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};
