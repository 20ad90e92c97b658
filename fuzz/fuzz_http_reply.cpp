// What the remote-computer transport reads from the network and from the names it is
// given: the head of an HTTP reply, and a computer name. The input's first line is
// read as a computer name, the whole input as a reply.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "http/ReplyHead.h"
#include "registry/RemoteAddress.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace gaugery;
  const std::string_view Input(reinterpret_cast<const char*>(Data), Size);
  if (const std::optional<TRemoteAddress> Address = ParseRemoteAddress(Input.substr(0, Input.find('\n'))))
    (void)AddressText(*Address);
  http::TReplyHead Head;
  if (http::ParseReplyHead(Input, Head) == http::THeadParse::Complete && Head.Length > Input.size())
    __builtin_trap();  // the head ends within what was received
  return 0;
}
