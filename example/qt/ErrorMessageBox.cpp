// The error report's message box on Qt.
#include <QApplication>
#include <QMessageBox>

#include "ErrorReport.h"

namespace gaugery {

void ShowErrorMessageBox(const std::string& Text) {
  QMessageBox Box(QMessageBox::Critical, QApplication::applicationName(),
                  QString::fromStdString(Text), QMessageBox::Ok);
  Box.exec();
}

}  // namespace gaugery
