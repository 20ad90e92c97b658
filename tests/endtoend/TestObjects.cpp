#include "TestObjects.h"

#include <utility>
#include <vector>

namespace gaugery::test {

namespace {

// The object time stamps of a sample: one second apart, in 100 ns units.
constexpr std::int64_t kObjectFrequency = 10'000'000;

TObjectSpec DeviceObject(int Devices, std::int64_t Sample) {
  TObjectSpec Object{
      .NameIndex = kDeviceObject,
      .Counters = {{.NameIndex = kReadingsCounter, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                   {.NameIndex = kEventsCounter, .Type = PERF_COUNTER_LARGE_DELTA},
                   {.NameIndex = kCapacityCounter}},
      .HasInstances = true,
      .PerfTime = Sample * kObjectFrequency,
      .PerfFreq = kObjectFrequency};
  for (int Number = 1; Number <= Devices; ++Number) {
    Object.Instances.push_back(
        {.Name = DeviceName(Number),
         .Values = {10 * Number, 100 * Number * Sample, kCapacityBase + Number}});
  }
  return Object;
}

TObjectSpec StationObject(std::int64_t Sample) {
  return {.NameIndex = kStationObject,
          .Counters = {{.NameIndex = kLoadCounter, .Type = PERF_RAW_FRACTION, .Size = 4},
                       {.NameIndex = kLoadBaseCounter, .Type = PERF_RAW_BASE, .Size = 4}},
          .Values = {3, 4},
          .PerfTime = Sample * kObjectFrequency,
          .PerfFreq = kObjectFrequency};
}

}  // namespace

TPerfLocaleNames TestObjectNames() {
  return {kTestLocale,
          {{kDeviceObject, "Prüfgerät"},
           {kReadingsCounter, "Zähler"},
           {kEventsCounter, "Ereignisse"},
           {kCapacityCounter, "Größte Menge"},
           {kStationObject, "Prüfstand"},
           {kLoadCounter, "Auslastung"},
           {kLoadBaseCounter, "Auslastung Basis"}},
          {{kDeviceObject + 1, "Geräte, die der Prüfstand misst."},
           {kReadingsCounter + 1, "Zählerstand des Geräts."},
           {kEventsCounter + 1, "Ereignisse seit der letzten Messung."},
           {kCapacityCounter + 1, "Die größte Menge, die das Gerät fasst."},
           {kStationObject + 1, "Der Prüfstand selbst."},
           {kLoadCounter + 1, "Anteil der belegten Plätze."},
           {kLoadBaseCounter + 1, "Zahl der Plätze."}}};
}

std::string DeviceName(int Number) { return "Gerät " + std::to_string(Number); }

TBlock TestObjectsBlock(int Devices, std::int64_t Sample, bool WithDevices, bool WithStation) {
  TBlockSpec Plan;
  if (WithDevices) Plan.Objects.push_back(DeviceObject(Devices, Sample));
  if (WithStation) Plan.Objects.push_back(StationObject(Sample));
  return BuildBlock(Plan);
}

}  // namespace gaugery::test
