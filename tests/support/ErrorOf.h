// The message a call raises, for tests that compare whole error texts.
#pragma once

#include <string>

#include "framework/Exceptions.h"

namespace gaugery::testing {

// The message of the Exception that Call raises, or "no error".
template <class TCall>
std::string ErrorOf(TCall&& Call) {
  try {
    Call();
  } catch (const Exception& Error) {
    return Error.Message();
  }
  return "no error";
}

}  // namespace gaugery::testing
