#include "DesignerMessages.h"

#include <QMessageBox>

namespace gaugery {

void ShowErrorMessage(QWidget* Parent, const std::string& Message) {
  QMessageBox::critical(Parent, QString::fromLatin1(DesignerName), QString::fromStdString(Message));
}

}  // namespace gaugery
