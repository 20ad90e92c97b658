#include "NoticeLabel.h"

#include <QLabel>
#include <QLayout>

namespace gaugery {

void ShowNotice(QLabel& Label, const std::string& Notice) {
  // The panel may be placed by the window's layout, which a hidden window has not run.
  if (QLayout* Layout = Label.window()->layout()) Layout->activate();
  const int Room = Label.parentWidget()->contentsRect().right() + 1 - Label.x();
  Label.setText(
      Label.fontMetrics().elidedText(QString::fromStdString(Notice), Qt::ElideRight, Room));
  Label.adjustSize();
}

}  // namespace gaugery
