#include "ModalDialogs.h"

#include <QDialog>

namespace gaugery {

namespace {

TModalRunner& ModalRunner() {
  static TModalRunner Runner;
  return Runner;
}

}  // namespace

void SetModalRunner(TModalRunner Runner) { ModalRunner() = std::move(Runner); }

int ShowModal(QDialog& Dialog) {
  const TModalRunner& Runner = ModalRunner();
  return Runner ? Runner(Dialog) : Dialog.exec();
}

}  // namespace gaugery
