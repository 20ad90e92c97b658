#include "FakeProviders.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "registry/Registry.h"

namespace gaugery::test {

namespace {

// What one Collect writes.
struct TServed {
  std::vector<BYTE> Bytes;
  DWORD NumObjectTypes = 0;
};

struct TSlot {
  std::vector<TServed> Samples;
  std::size_t Next = 0;
  LONG Error = ERROR_SUCCESS;
  int Collects = 0;
  bool WritesWholeBlock = false;
  std::function<void()> BeforeCollect;
};

std::array<TSlot, TFakeProviders::MaxFakeProviders> Slots;

TSlot& SlotAt(int Slot) {
  if (Slot < 0 || Slot >= TFakeProviders::MaxFakeProviders) {
    throw std::out_of_range("no such fake provider");
  }
  return Slots[static_cast<std::size_t>(Slot)];
}

std::vector<TServed> ToServed(std::vector<TBlock> Samples, bool WritesWholeBlock) {
  std::vector<TServed> Served;
  for (TBlock& Sample : Samples) {
    const DWORD NumObjectTypes = Sample.Header().NumObjectTypes;
    Served.push_back(
        {WritesWholeBlock ? std::move(Sample.Bytes) : Sample.ObjectBytes(), NumObjectTypes});
  }
  return Served;
}

DWORD Collect(TSlot& Slot, PPointer Data, LPDWORD TotalBytes, LPDWORD NumObjectTypes) {
  if (Slot.BeforeCollect) Slot.BeforeCollect();
  ++Slot.Collects;
  const auto Refuse = [&](DWORD Error) {
    *TotalBytes = 0;
    *NumObjectTypes = 0;
    return Error;
  };
  if (Slot.Error != ERROR_SUCCESS) return Refuse(static_cast<DWORD>(Slot.Error));
  if (Slot.Samples.empty()) return Refuse(ERROR_SUCCESS);
  const TServed& Sample = Slot.Samples[std::min(Slot.Next, Slot.Samples.size() - 1)];
  if (*TotalBytes < Sample.Bytes.size()) return Refuse(ERROR_MORE_DATA);
  std::memcpy(*Data, Sample.Bytes.data(), Sample.Bytes.size());
  *Data = static_cast<BYTE*>(*Data) + Sample.Bytes.size();
  *TotalBytes = static_cast<DWORD>(Sample.Bytes.size());
  *NumObjectTypes = Sample.NumObjectTypes;
  ++Slot.Next;
  return ERROR_SUCCESS;
}

DWORD GAUGERY_WINAPI FakeOpen(LPWSTR) { return ERROR_SUCCESS; }
DWORD GAUGERY_WINAPI FakeClose() { return ERROR_SUCCESS; }

template <int Slot>
DWORD GAUGERY_WINAPI FakeCollect(LPWSTR, PPointer Data, LPDWORD TotalBytes,
                                 LPDWORD NumObjectTypes) {
  return Collect(Slots[Slot], Data, TotalBytes, NumObjectTypes);
}

constexpr std::array<TPM_COLLECT_PROC, TFakeProviders::MaxFakeProviders> CollectProcs = {
    &FakeCollect<0>, &FakeCollect<1>, &FakeCollect<2>, &FakeCollect<3>};

}  // namespace

TFakeProviders::TFakeProviders(std::vector<TFakeProvider> Providers) {
  if (Providers.size() > Slots.size()) throw std::invalid_argument("too many fake providers");
  std::vector<TPerfProvider> InService;
  for (std::size_t Index = 0; Index < Providers.size(); ++Index) {
    TFakeProvider& Fake = Providers[Index];
    Slots[Index] = TSlot{ToServed(std::move(Fake.Samples), Fake.WritesWholeBlock),
                         0,
                         ERROR_SUCCESS,
                         0,
                         Fake.WritesWholeBlock,
                         std::move(Fake.BeforeCollect)};
    InService.push_back({Fake.Name, &FakeOpen, CollectProcs[Index], &FakeClose,
                         Fake.WritesWholeBlock, std::move(Fake.Names)});
  }
  SetPerfProviders(std::move(InService));
}

TFakeProviders::~TFakeProviders() {
  RestoreDefaultPerfProviders();
  Slots = {};
}

void TFakeProviders::SetSamples(int Slot, std::vector<TBlock> Samples) {
  TSlot& Target = SlotAt(Slot);
  Target.Samples = ToServed(std::move(Samples), Target.WritesWholeBlock);
  Target.Next = 0;
}

void TFakeProviders::SetCollectError(int Slot, LONG Error) { SlotAt(Slot).Error = Error; }

int TFakeProviders::CollectCount(int Slot) const { return SlotAt(Slot).Collects; }

}  // namespace gaugery::test
