// How the designer tells the user that something failed: the error's own message in a
// message box, as a form designer reports the errors of components and editors.
#pragma once

#include <exception>
#include <string>

class QWidget;

namespace gaugery {

// The designer's name, the caption of its window and message boxes.
inline constexpr char DesignerName[] = "Gaugery Designer";

void ShowErrorMessage(QWidget* Parent, const std::string& Message);

// Runs Action; an error it raises is shown and answered with false.
template <class TAction>
bool Attempt(QWidget* Parent, TAction&& Action) {
  try {
    Action();
    return true;
  } catch (const std::exception& Error) {
    ShowErrorMessage(Parent, Error.what());
    return false;
  }
}

}  // namespace gaugery
