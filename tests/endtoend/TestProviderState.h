// The state of the test performance provider that a test reads and sets: the provider
// DLL exports it through TestProviderState(), and a test that holds the DLL loaded sees
// the same module the registry loads (the registry loads it by the same path). Plain
// data only, since the DLL carries its own copy of the C++ runtime.
#pragma once

#include <cstdint>

#include "framework/WinTypes.h"

namespace gaugery::test {

// The provider's file, installed in the system directory, and the service it
// registers under.
constexpr const wchar_t* kTestProviderFile = L"GaugeryTestObjects.dll";
constexpr const wchar_t* kTestProviderService = L"GaugeryTestObjects";

struct TTestProviderState {
  static constexpr int MaxOffers = 64;

  // Whether the provider runs under Wine, which places its objects (see Collect).
  bool UnderWine;

  // What Collect serves.
  int Devices;
  // Writes the objects at the place the caller hands over even under Wine, which
  // reads them 88 bytes before it (see Collect).
  bool NaiveLayout;

  // What the provider saw.
  int Opens;
  int Collects;
  int Closes;
  // Successful Collects since the DLL was loaded: the sample number of the last block.
  std::int64_t Samples;
  // The space each Collect was offered, in order, up to MaxOffers.
  DWORD Offered[MaxOffers];
  int OfferCount;
};

using TTestProviderStateProc = TTestProviderState* (*)();

}  // namespace gaugery::test
