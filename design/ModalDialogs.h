// How the plug-in's editors show their dialogs modally. A test replaces the way so that
// it can drive a dialog instead of waiting for a user.
#pragma once

#include <functional>

class QDialog;

namespace gaugery {

// Shows a dialog modally and answers its result (QDialog::Accepted or Rejected).
using TModalRunner = std::function<int(QDialog& Dialog)>;
// Replaces the way dialogs are shown; an empty runner restores exec().
void SetModalRunner(TModalRunner Runner);
int ShowModal(QDialog& Dialog);

}  // namespace gaugery
