#pragma once
// The progress display laid over the status bar's message pane while a
// process runs: "<label> :<percent>%" in front of a smooth bar.

#include <QWidget>

class QLabel;
class QProgressBar;

class CProgressBar : public QWidget {
  Q_OBJECT

 public:
  explicit CProgressBar(const QColor& colour, QWidget* parent = nullptr);
  void SetLabel(const QString& label) { label_text_ = label; }
  const QString& label() const { return label_text_; }
  // Shows the percentage with the label; a repeat of the last one is skipped
  // unless it is 0.
  void SetPercent(int percent);
  int percent() const { return percent_; }
  QString text() const;

 private:
  QLabel* text_;
  QProgressBar* bar_;
  QString label_text_;
  int percent_ = -1;
};
