#pragma once

#include <QString>
#include <QWidget>
#include <vector>

class QLabel;

namespace skyfare {

// A one-line label whose text leaves its longest run of blanks free for other controls: the
// controls sit over that run, so the label keeps its words and blanks exactly as written.
class GapLabel final : public QWidget {
  Q_OBJECT

 public:
  explicit GapLabel(const QString& text, QWidget* parent = nullptr);

  // Places a control in the gap, left to right. A width of 0 shares what the others leave.
  void addToGap(QWidget* control, int widthPx = 0);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Placed {
    QWidget* control;
    int widthPx;
  };

  QLabel* label_;
  qsizetype gapStart_ = 0;
  qsizetype gapEnd_ = 0;
  std::vector<Placed> placed_;
};

}  // namespace skyfare
