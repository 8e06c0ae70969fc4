// The background panel of both windows: a vertical gradient from a start colour at the
// top through a middle colour to an end colour at the bottom. Child controls sit on it.
#pragma once

#include <QColor>
#include <QWidget>

namespace tv::app {

class GradientPanel : public QWidget {
 public:
  GradientPanel(QColor start, QColor middle, QColor end, QWidget* parent);

  QColor StartColor() const { return start_; }
  QColor MiddleColor() const { return middle_; }
  QColor EndColor() const { return end_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor start_;
  QColor middle_;
  QColor end_;
};

}  // namespace tv::app
