#include "framework/TObject.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace gaugery {

namespace {

std::string Demangle(const char* MangledName) {
  int Status = 0;
  const std::unique_ptr<char, decltype(&std::free)> Readable(
      abi::__cxa_demangle(MangledName, nullptr, nullptr, &Status), &std::free);
  return Status == 0 && Readable ? std::string(Readable.get()) : std::string(MangledName);
}

// The name after the last "::" that is not inside template arguments or a parameter
// list: "gaugery::TList" gives "TList", "(anonymous namespace)::TBox<a::B>" "TBox<a::B>".
std::string WithoutQualifiers(const std::string& Name) {
  int Depth = 0;
  std::size_t Start = 0;
  for (std::size_t I = 0; I < Name.size(); ++I) {
    const char C = Name[I];
    if (C == '<' || C == '(') ++Depth;
    if (C == '>' || C == ')') --Depth;
    if (Depth == 0 && C == ':' && I + 1 < Name.size() && Name[I + 1] == ':') Start = I + 2;
  }
  return Name.substr(Start);
}

}  // namespace

std::string TObject::ClassName() const { return WithoutQualifiers(Demangle(typeid(*this).name())); }

}  // namespace gaugery
