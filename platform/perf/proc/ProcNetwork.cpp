#include "perf/proc/ProcNetwork.h"

#include "perf/proc/ProcText.h"

namespace gaugery {

namespace {

constexpr std::uint64_t BitsPerMegabit = 1'000'000;

// The numbers after the colon: eight received, then eight sent.
enum NetField {
  ReceivedBytes,
  ReceivedPackets,
  ReceivedErrors,
  ReceivedDrops,
  ReceivedFifo,
  ReceivedFrame,
  ReceivedCompressed,
  ReceivedMulticast,
  SentBytes,
  SentPackets,
  SentErrors,
  SentDrops,
  NetFieldCount
};

std::string_view Trimmed(std::string_view Text) {
  std::size_t First = Text.find_first_not_of(" \t");
  if (First == std::string_view::npos) return {};
  std::size_t Last = Text.find_last_not_of(" \t");
  return Text.substr(First, Last - First + 1);
}

}  // namespace

void ParseNetDev(std::string_view Text, std::vector<TInterfaceSample>& Interfaces) {
  Interfaces.clear();
  while (!Text.empty()) {
    std::string_view Line = NextLine(Text);
    std::size_t Colon = Line.find(':');
    if (Colon == std::string_view::npos) continue;
    std::string_view Name = Trimmed(Line.substr(0, Colon));
    if (Name.empty() || Name == "lo") continue;
    // Old kernels write no blank between the colon and a large first number.
    std::string_view Fields = Line.substr(Colon + 1);
    std::uint64_t Value[NetFieldCount] = {};
    for (std::uint64_t& Field : Value) {
      if (!ParseUnsigned(Fields, Field)) break;
    }
    TInterfaceSample Interface;
    Interface.Name = Name;
    Interface.BytesReceived = Value[ReceivedBytes];
    Interface.PacketsReceived = Value[ReceivedPackets];
    Interface.ReceiveErrors = Value[ReceivedErrors];
    Interface.ReceiveDrops = Value[ReceivedDrops];
    Interface.BytesSent = Value[SentBytes];
    Interface.PacketsSent = Value[SentPackets];
    Interface.SendErrors = Value[SentErrors];
    Interface.SendDrops = Value[SentDrops];
    Interfaces.push_back(Interface);
  }
}

std::uint64_t ParseLinkSpeed(std::string_view Text) {
  std::int64_t Megabits = 0;
  if (!ParseSigned(Text, Megabits) || Megabits < 0) return 0;
  auto Speed = static_cast<std::uint64_t>(Megabits);
  return Speed > UINT64_MAX / BitsPerMegabit ? UINT64_MAX : Speed * BitsPerMegabit;
}

void TNetworkReader::Read() {
  std::string_view Text;
  Files_.Read(Root_.Path("/proc/net/dev").Text(), &Text);
  ParseNetDev(Text, Interfaces_);
  for (TInterfaceSample& Interface : Interfaces_) {
    TShortText Path = Root_.Path("/sys/class/net/");
    Path.Append(Interface.Name).Append("/speed");
    std::string_view Speed;
    if (SpeedFiles_.ReadRecord(Path.Text(), &Speed)) Interface.Bandwidth = ParseLinkSpeed(Speed);
  }
}

}  // namespace gaugery
