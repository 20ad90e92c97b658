// What the plug-in's tests share: the values an editor offers, the message of an
// error, and a modal runner that drives a dialog instead of waiting for a user.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "ModalDialogs.h"
#include "framework/DesignIntf.h"
#include "framework/Exceptions.h"
#include "framework/TStringList.h"

namespace gaugery::testing {

// The entries GetValues hands to the designer, in order.
std::vector<std::string> ValuesOf(TPropertyEditor& Editor);
std::vector<std::string> LinesOf(const TStringList& List);

// While it lives, ShowModal hands each dialog to Drive instead of running it, answers
// what Drive returns and counts the dialogs shown. Dialogs released for later are
// deleted when it ends.
class TModalDriver {
 public:
  explicit TModalDriver(std::function<int(QDialog&)> Drive);
  ~TModalDriver();
  TModalDriver(const TModalDriver&) = delete;
  TModalDriver& operator=(const TModalDriver&) = delete;

  int Shown() const { return Shown_; }

 private:
  int Shown_ = 0;
};

}  // namespace gaugery::testing
