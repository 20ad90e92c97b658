// The objects the test performance provider serves, with their German names: the one
// description that the provider writes and the end-to-end tests expect. Titles and
// instance names hold umlauts, so that text outside ASCII goes through every layer.
#pragma once

#include <cstdint>
#include <string>

#include "BlockBuilder.h"
#include "registry/PerfProviders.h"

namespace gaugery::test {

// Title indexes; each help text is at its title's index plus one.
constexpr DWORD kDeviceObject = 9000;     // "Prüfgerät", one instance per device
constexpr DWORD kReadingsCounter = 9002;  // "Zähler": raw count, 10 × device number
constexpr DWORD kEventsCounter = 9004;    // "Ereignisse": delta, 100 × device × sample
constexpr DWORD kCapacityCounter = 9006;  // "Größte Menge": large raw count, 2^40 + device
constexpr DWORD kStationObject = 9010;    // "Prüfstand", without instances
constexpr DWORD kLoadCounter = 9012;      // "Auslastung": raw fraction, 3 of 4
constexpr DWORD kLoadBaseCounter = 9014;  // "Auslastung Basis"
constexpr DWORD kFirstTestIndex = kDeviceObject;
constexpr DWORD kLastTestIndex = kLoadBaseCounter + 1;

constexpr int kDefaultDevices = 3;
constexpr std::int64_t kCapacityBase = std::int64_t{1} << 40;

// The locale the names are registered under.
constexpr const char* kTestLocale = "007";

// Titles and help texts under kTestLocale.
TPerfLocaleNames TestObjectNames();

// "Gerät <Number>"; devices count from 1.
std::string DeviceName(int Number);

// The objects of the Sample-th block served (the first is 1), with Devices devices:
// the device object when Devices is given, the station when Station is.
TBlock TestObjectsBlock(int Devices, std::int64_t Sample, bool WithDevices, bool WithStation);

}  // namespace gaugery::test
