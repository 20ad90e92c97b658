// Samples for the counter log tests: a block per sample number, made the same way every
// time, in which instances come and go and a few values change from sample to sample.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "perf/log/CounterLog.h"

namespace gaugery::test {

// Sample Number (from 1) at 12:00 plus Number seconds: a Process-like object whose
// instance count varies (instances keep their names and ids; one in three changes its
// values), and an object without instances whose value is the number.
TBlock LogSample(int Number);

// The file time the header of LogSample(Number) carries.
std::int64_t LogSampleTime(int Number);

// A multi-string of ASCII Strings: each ends in a null, and one more null ends the list.
WideString MultiString(const std::vector<std::string>& Strings);

TLogMachine LogMachine();
// English and German tables with a few entries; Variant changes the German ones.
TLogNames LogNames(int Variant = 0);

// The bytes of File.
std::vector<BYTE> FileBytes(const std::string& File);
void WriteFileBytes(const std::string& File, const std::vector<BYTE>& Bytes);

}  // namespace gaugery::test
