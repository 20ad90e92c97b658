// The network interfaces of /proc/net/dev as the Network Interface object shows them,
// with the link speed of /sys/class/net/<name>/speed.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "perf/proc/ProcFiles.h"
#include "perf/proc/ProcRoot.h"

namespace gaugery {

struct TInterfaceSample {
  std::string_view Name;  // points into the parsed text
  std::uint64_t BytesReceived = 0;
  std::uint64_t PacketsReceived = 0;
  std::uint64_t ReceiveErrors = 0;
  std::uint64_t ReceiveDrops = 0;
  std::uint64_t BytesSent = 0;
  std::uint64_t PacketsSent = 0;
  std::uint64_t SendErrors = 0;
  std::uint64_t SendDrops = 0;
  std::uint64_t Bandwidth = 0;  // bits per second, 0 where unknown
};

// Parses /proc/net/dev into Interfaces (cleared first, capacity kept), leaving out the
// loopback interface "lo" and lines without a name before a colon. Counts a short line
// lacks are 0.
void ParseNetDev(std::string_view Text, std::vector<TInterfaceSample>& Interfaces);

// The bits per second of a speed file, which holds Mbit/s; 0 for no number or a
// negative one (-1 is what an interface without a known speed reports).
std::uint64_t ParseLinkSpeed(std::string_view Text);

class TNetworkReader {
 public:
  explicit TNetworkReader(TProcRoot Root = TProcRoot()) : Root_(std::move(Root)) {}

  // Reads the interfaces and their speeds; an unreadable file gives no interfaces. The
  // interfaces stay valid until the next Read.
  void Read();
  std::span<const TInterfaceSample> Interfaces() const { return Interfaces_; }

 private:
  TProcRoot Root_;
  TProcFileReader Files_;
  TProcFileReader SpeedFiles_;
  std::vector<TInterfaceSample> Interfaces_;
};

}  // namespace gaugery
