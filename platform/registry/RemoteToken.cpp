#include "registry/RemoteToken.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

#include "framework/Exceptions.h"

namespace gaugery {

namespace {

constexpr std::size_t LongestToken = 4096;

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
  std::ifstream In(File, std::ios::binary);
  std::ostringstream Text;
  if (!In || !(Text << In.rdbuf())) throw Exception("Cannot read the token file \"" + File + "\"");
  std::string Token = Text.str();
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
