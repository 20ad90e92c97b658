#include "ElidedHeaderStyle.h"

#include <QStyleOptionHeader>

namespace gaugery {

// The label's option holds the rectangle left for the text.
void TElidedHeaderStyle::drawControl(ControlElement Element, const QStyleOption* Option,
                                     QPainter* Painter, const QWidget* Widget) const {
  const auto* Header = qstyleoption_cast<const QStyleOptionHeader*>(Option);
  if (Element != CE_HeaderLabel || Header == nullptr) {
    QProxyStyle::drawControl(Element, Option, Painter, Widget);
    return;
  }
  QStyleOptionHeader Elided = *Header;
  Elided.text = Header->fontMetrics.elidedText(Header->text, Qt::ElideRight, Header->rect.width());
  QProxyStyle::drawControl(Element, &Elided, Painter, Widget);
}

}  // namespace gaugery
