// Arbitrary text as a stored form: the reader either refuses it with an Exception or
// builds a form that writes, reads back and writes again to the same text.
//
// The first byte chooses how the input is used: as the whole text, or spliced into a
// well-formed form of a filter with items and a linked help table, so that mutations
// reach the checks behind the JSON syntax quickly.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "PerfFilter.h"
#include "framework/Exceptions.h"
#include "framework/StoredForm.h"

namespace {

using namespace gaugery;

const std::string SampleForm = R"({"class": "TComponent", "name": "Form", "components": [
  {"class": "TPerfHelps", "name": "PerfHelps1", "LocaleID": "009", "ComputerName": ""},
  {"class": "TPerfFilter", "name": "PerfFilter", "ComputerName": "", "LocaleID": "009",
   "Items": [{"ObjectName": "Process", "CounterName": "ID Process"},
             {"ObjectName": "Memory", "CounterName": ""}],
   "Helps": "PerfHelps1"}]})";

std::string FormText(const std::uint8_t* Data, std::size_t Size) {
  const std::string Input(reinterpret_cast<const char*>(Data), Size);
  if (Input.size() < 3 || Input[0] % 2 == 0) return Input.empty() ? Input : Input.substr(1);
  // Replace a stretch of the sample, at a place and of a length the next two bytes pick.
  const std::size_t At = static_cast<unsigned char>(Input[1]) * SampleForm.size() / 256;
  const std::size_t Length = static_cast<unsigned char>(Input[2]) % 16;
  return SampleForm.substr(0, At) + Input.substr(3) +
         SampleForm.substr(std::min(At + Length, SampleForm.size()));
}

// Null when the text is refused.
std::unique_ptr<TComponent> Read(const std::string& Text) {
  try {
    return std::unique_ptr<TComponent>(ReadComponentForm(Text, nullptr));
  } catch (const Exception&) {
    return nullptr;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::unique_ptr<TComponent> Form = Read(FormText(Data, Size));
  if (!Form) return 0;
  // Whatever was accepted must survive a round trip unchanged.
  const std::string First = WriteComponentForm(Form.get());
  const std::unique_ptr<TComponent> Again = Read(First);
  if (!Again || WriteComponentForm(Again.get()) != First) std::abort();
  return 0;
}
