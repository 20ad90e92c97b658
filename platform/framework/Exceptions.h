// The framework's general exception and the errors the framework raises itself.
#pragma once

#include "framework/LibraryExport.h"

#include <exception>
#include <string>

namespace gaugery {

// The general exception: one message, shown to the user as it stands.
class GAUGERY_PLATFORM_API Exception : public std::exception {
 public:
  explicit Exception(std::string Message) : Message_(std::move(Message)) {}
  const char* what() const noexcept override { return Message_.c_str(); }
  const std::string& Message() const noexcept { return Message_; }

 private:
  std::string Message_;
};

// A position outside a list's range.
class GAUGERY_PLATFORM_API EListError : public Exception {
 public:
  using Exception::Exception;
};

// A text that is not a number of the requested kind, or an impossible assignment.
class GAUGERY_PLATFORM_API EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A checked conversion of an object to a class it does not belong to.
class GAUGERY_PLATFORM_API EInvalidCast : public Exception {
 public:
  using Exception::Exception;
};

// A call of an operation that has no body in the class it was called on.
class GAUGERY_PLATFORM_API EAbstractError : public Exception {
 public:
  using Exception::Exception;
};

// Raises EListError "List index out of bounds (<Index>)".
[[noreturn]] GAUGERY_PLATFORM_API void RaiseListIndexError(int Index);

// Raises EAbstractError "Abstract Error".
[[noreturn]] GAUGERY_PLATFORM_API void RaiseAbstractError();

}  // namespace gaugery
