#include "registry/RemoteToken.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "framework/Exceptions.h"
#include "framework/Utf8File.h"

namespace gaugery {

namespace {

constexpr std::size_t LongestToken = 4096;
// The most a token file is read of, blanks around the token included.
constexpr std::size_t LongestFile = 1 << 16;

bool IsTokenText(const std::string& Token) {
  return !Token.empty() && Token.size() <= LongestToken &&
         std::all_of(Token.begin(), Token.end(), [](char C) { return C > 0x20 && C < 0x7F; });
}

struct TChosenToken {
  std::mutex Lock;
  std::string Token;
};

TChosenToken& Chosen() {
  static TChosenToken Token;
  return Token;
}

}  // namespace

std::string ReadTokenFile(const std::string& File) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> In(OpenUtf8File(File, "rb"), &std::fclose);
  if (!In) throw Exception("Cannot read the token file \"" + File + "\"");
  // Read up to a bound: a device that never ends (/dev/zero) is refused as too long.
  std::string Token;
  char Bytes[4096];
  for (std::size_t Read = 1; Read > 0 && Token.size() <= LongestFile;) {
    Read = std::fread(Bytes, 1, sizeof Bytes, In.get());
    Token.append(Bytes, Read);
  }
  if (std::ferror(In.get())) throw Exception("Cannot read the token file \"" + File + "\"");
  Token.erase(0, Token.find_first_not_of(" \t\r\n"));
  Token.erase(Token.find_last_not_of(" \t\r\n") + 1);
  if (!IsTokenText(Token))
    throw Exception("The token file \"" + File +
                    "\" must hold one word of visible ASCII characters (at most 4096)");
  return Token;
}

void UseRemoteTokenFile(const std::string& File) {
  const char* const Named = std::getenv(RemoteTokenVariable);
  const std::string TokenFile = File.empty() && Named ? std::string(Named) : File;
  std::string Token = TokenFile.empty() ? std::string() : ReadTokenFile(TokenFile);
  const std::lock_guard<std::mutex> Guard(Chosen().Lock);
  Chosen().Token = std::move(Token);
}

std::string RemoteToken() {
  const std::lock_guard<std::mutex> Guard(Chosen().Lock);
  return Chosen().Token;
}

}  // namespace gaugery
