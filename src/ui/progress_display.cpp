#include "ui/progress_display.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include "app/frame_state.h"

CProgressBar::CProgressBar(const QColor& colour, QWidget* parent)
    : QWidget(parent), text_(new QLabel(this)), bar_(new QProgressBar(this)) {
  setAccessibleName(QStringLiteral("Progress"));
  text_->setAccessibleName(QStringLiteral("Progress Text"));
  bar_->setAccessibleName(QStringLiteral("Progress Bar"));
  bar_->setRange(0, 100);
  bar_->setTextVisible(false);
  bar_->setMaximumHeight(fontMetrics().height());
  if (colour.isValid()) {
    QPalette palette = bar_->palette();
    palette.setColor(QPalette::Highlight, colour);
    bar_->setPalette(palette);
  }
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  text_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Populating  :100%")));
  layout->addWidget(text_);
  layout->addWidget(bar_, 1);
}

void CProgressBar::SetPercent(int percent) {
  if (percent == percent_ && percent != 0) return;
  percent_ = percent;
  text_->setText(QString::fromStdString(salvor::ProgressText(label_text_.toStdString(), percent)));
  bar_->setValue(percent);
}

QString CProgressBar::text() const { return text_->text(); }
