#include "LinkLabel.h"

#include <QMouseEvent>

namespace gaugery {

TLinkLabel::TLinkLabel(QWidget* Parent) : QLabel(Parent) {}

// A press that ends outside the label is not a click.
void TLinkLabel::mouseReleaseEvent(QMouseEvent* Event) {
  QLabel::mouseReleaseEvent(Event);
  if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint())) {
    emit clicked();
  }
}

}  // namespace gaugery
