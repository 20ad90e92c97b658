// The style of Brindle's column headers: a caption wider than its column is cut at the
// right with an ellipsis, whatever its alignment (the platform's styles cut it off
// without a mark, at the left for a right-aligned caption).
#pragma once

#include <QProxyStyle>

namespace gaugery {

class TElidedHeaderStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  void drawControl(ControlElement Element, const QStyleOption* Option, QPainter* Painter,
                   const QWidget* Widget = nullptr) const override;
};

}  // namespace gaugery
