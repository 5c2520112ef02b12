#include "carver/ui/help_window.h"

#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

#include "carver/texts.h"
#include "carver/ui/ui_text.h"

namespace salvor::carver::ui {
namespace {

const char* PageHtml(HelpTopic topic) {
  switch (topic) {
    case HelpTopic::kSelectDisk:
      return "<h2>Choosing the disk</h2>"
             "<p>Every physical disk of this computer is listed under <b>My Computer</b>; the panel "
             "beside the list describes the selected one. <b>Refresh Drives</b> reads the list "
             "again, for instance after you connect a disk.</p>"
             "<p><b>Image file...</b> carves a raw copy of a disk instead, such as one made by "
             "Salvor's imaging.</p>"
             "<p><b>Next</b> opens the disk for reading only: nothing is ever written to it.</p>";
    case HelpTopic::kFileTypes:
      return "<h2>Choosing file types</h2>"
             "<p>Check the types to look for; the category list shows one group of types at a "
             "time. Fewer types make a faster scan with fewer false finds.</p>"
             "<p>Some types have no recognisable end. A found file of such a type is given the "
             "<b>maximum file size</b> entered here, from 1 KB to 4 GB; it is marked "
             "<i>length not measured</i> on the found files page.</p>";
    case HelpTopic::kProcessing:
      return "<h2>Scanning and saving</h2>"
             "<p>The page shows how far the process has come and how long it has run. "
             "<b>Pause</b> holds the process until you press <b>Resume</b>; <b>Stop</b> asks "
             "first and keeps everything found or saved so far.</p>";
    case HelpTopic::kFoundFiles:
      return "<h2>Found files</h2>"
             "<p>Files are sorted into folders by category and extension and named after the "
             "sector they start at. Check what you want back and press <b>Save</b>.</p>"
             "<p>Double-click a file to preview it: pictures are drawn, anything else is shown "
             "in hex. <b>Find</b> (Ctrl+F) looks for names with * and ? and for sizes; "
             "<b>Find Next</b> (F3) goes on.</p>"
             "<p>The saving options can leave out extensions and files smaller or larger than "
             "given sizes, and can pack the files into ZIP archives. Save to another disk than "
             "the one being recovered.</p>";
  }
  return "";
}

}  // namespace

CHelpWindow::CHelpWindow(HelpTopic topic, QWidget* parent) : QTextBrowser(parent) {
  setWindowFlag(Qt::Window);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(Text(text::kProgramTitle) + QStringLiteral(" - ") + Text(text::kHelp));
  setAccessibleName(QStringLiteral("Help window"));
  setHtml(QString::fromUtf8(PageHtml(topic)));
  resize(520, 360);
}

QPushButton* AddHelp(QWidget* page, HelpTopic topic) {
  auto* button = new QPushButton(Text(text::kHelp), page);
  button->setAccessibleName(QStringLiteral("Help"));
  button->setIcon(QIcon::fromTheme(QStringLiteral("help-contents")));
  const auto open = [page, topic] { (new CHelpWindow(topic, page))->show(); };
  QObject::connect(button, &QPushButton::clicked, page, open);
  auto* key = new QShortcut(QKeySequence::HelpContents, page);
  QObject::connect(key, &QShortcut::activated, page, open);
  return button;
}

}  // namespace salvor::carver::ui
