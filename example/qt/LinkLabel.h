// A label that reports a click, for the links of the about box.
#pragma once

#include <QLabel>

namespace gaugery {

class TLinkLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TLinkLabel(QWidget* Parent = nullptr);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* Event) override;
};

}  // namespace gaugery
