#include "ui/wizard/description_panel.h"

#include <QPalette>

namespace salvor::ui {

CDescriptionPanel::CDescriptionPanel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::RichText);
  setWordWrap(true);
  setAlignment(Qt::AlignTop | Qt::AlignLeft);
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
  setMargin(6);
  setMinimumWidth(240);
  QFont font(QStringLiteral("Verdana"));
  font.setPointSizeF(QLabel::font().pointSizeF());
  setFont(font);
  setAccessibleName(QStringLiteral("Description"));
}

void CDescriptionPanel::SetLines(const QStringList& lines) {
  const QString band = palette().color(QPalette::Highlight).name();
  QString html = QStringLiteral("<table width='100%' cellspacing='0' cellpadding='3'>");
  for (const QString& line : lines) {
    if (line.startsWith(QLatin1String("HDR"))) {
      html += QStringLiteral("<tr><td bgcolor='%1'><b><font color='white'>%2</font></b></td></tr>")
                  .arg(band, line.mid(3).toHtmlEscaped());
    } else {
      html += QStringLiteral("<tr><td>&bull; %1</td></tr>").arg(line.toHtmlEscaped());
    }
  }
  setText(html + QStringLiteral("</table>"));
}

}  // namespace salvor::ui
