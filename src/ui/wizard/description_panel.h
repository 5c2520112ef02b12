#pragma once
// The wizard's description panel: lines of text where a line starting with
// "HDR" is a heading drawn in white on a coloured band and every other line
// is a bullet point.

#include <QLabel>
#include <QStringList>

namespace salvor::ui {

class CDescriptionPanel : public QLabel {
 public:
  explicit CDescriptionPanel(QWidget* parent = nullptr);
  void SetLines(const QStringList& lines);
};

}  // namespace salvor::ui
