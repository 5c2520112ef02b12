#pragma once
// Trawler's help: our own HTML pages, one per page of the road, shown in a
// help window that "Help (F1)" opens.

#include <QTextBrowser>

class QPushButton;
class QWidget;

namespace salvor::carver::ui {

enum class HelpTopic { kSelectDisk, kFileTypes, kProcessing, kFoundFiles };

class CHelpWindow : public QTextBrowser {
  Q_OBJECT
 public:
  CHelpWindow(HelpTopic topic, QWidget* parent);
};

// Adds "Help (F1)" to a page: the returned button and the F1 key open the topic.
QPushButton* AddHelp(QWidget* page, HelpTopic topic);

}  // namespace salvor::carver::ui
