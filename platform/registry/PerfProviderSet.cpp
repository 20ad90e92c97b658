#include "registry/PerfProviderSet.h"

#include <atomic>
#include <utility>

namespace gaugery {

namespace {

// Set while shared libraries load, before any registry call; constant-initialised so
// that the order in which libraries initialise does not matter.
constinit std::atomic<TDefaultPerfProviders> DefaultFactory{nullptr};

// Open receives the provider's device names; ours have none.
WCHAR NoDeviceNames[1] = {u'\0'};

}  // namespace

bool EnsurePerfProviderOpen(TPerfProviderSlot& Slot) {
  if (Slot.State == TPerfOpenState::NotOpened) {
    bool Failed = Slot.Provider.Open && Slot.Provider.Open(NoDeviceNames) != 0;
    Slot.State = Failed ? TPerfOpenState::OpenFailed : TPerfOpenState::Opened;
  }
  return Slot.State == TPerfOpenState::Opened;
}

TPerfProviderSet::~TPerfProviderSet() { CloseOpened(); }

void TPerfProviderSet::Install(std::vector<TPerfProvider> Providers) {
  TPerflibNames Names = BuildPerflibNames(Providers);
  CloseOpened();
  Slots_.clear();
  for (TPerfProvider& Provider : Providers) Slots_.push_back({std::move(Provider)});
  Names_ = std::move(Names);
  InService_ = true;
}

void TPerfProviderSet::InstallDefaultsOnFirstUse() {
  if (!InService_ && DefaultFactory.load()) Install(Defaults());
}

void TPerfProviderSet::RestoreDefaults() {
  if (DefaultFactory.load()) {
    Install(Defaults());
    return;
  }
  CloseOpened();
  Slots_.clear();
  Names_ = {};
  InService_ = false;
}

std::vector<TPerfProvider> TPerfProviderSet::Providers() const {
  std::vector<TPerfProvider> Result;
  for (const TPerfProviderSlot& Slot : Slots_) Result.push_back(Slot.Provider);
  return Result;
}

void TPerfProviderSet::SetDefaultFactory(TDefaultPerfProviders Factory) {
  DefaultFactory.store(Factory);
}

std::vector<TPerfProvider> TPerfProviderSet::Defaults() {
  TDefaultPerfProviders Factory = DefaultFactory.load();
  return Factory ? Factory() : std::vector<TPerfProvider>{};
}

void TPerfProviderSet::CloseOpened() {
  for (TPerfProviderSlot& Slot : Slots_) {
    if (Slot.State == TPerfOpenState::Opened && Slot.Provider.Close) Slot.Provider.Close();
    Slot.State = TPerfOpenState::NotOpened;
  }
}

}  // namespace gaugery
