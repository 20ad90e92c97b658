// Reading the live machine in the perf tests: a query of HKEY_PERFORMANCE_DATA as the
// library makes it, a decoded form of the block, and the files of /proc to compare it
// with.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "WinPerf.h"

namespace gaugery::test {

using TCounterValues = std::map<DWORD, std::uint64_t>;  // by counter title index

struct TDecodedInstance {
  std::string Name;
  TCounterValues Values;
};

struct TDecodedObject {
  DWORD Index = 0;
  LONG NumInstances = 0;
  std::int64_t PerfTime = 0;
  std::int64_t PerfFreq = 0;
  std::vector<TPERF_COUNTER_DEFINITION> Counters;
  std::vector<TDecodedInstance> Instances;
  TCounterValues Values;  // of an object without instances
};

// Queries ValueName, growing the buffer while the answer is ERROR_MORE_DATA; fails the
// test when the query fails or the block is malformed.
std::vector<BYTE> QueryBlock(const char16_t* ValueName);

// One object of a well-formed block, read through the walkers.
TDecodedObject DecodeObject(const void* Object);

// The objects of a well-formed block, in block order.
std::vector<TDecodedObject> DecodeBlock(const std::vector<BYTE>& Block);

std::vector<TDecodedObject> QueryObjects(const char16_t* ValueName);

// The object with that title index; fails the test when there is none.
const TDecodedObject& ObjectOf(const std::vector<TDecodedObject>& Objects, DWORD Index);

// The Process instance of the process with that id, or null.
const TDecodedInstance* ProcessInstance(const TDecodedObject& Process, std::uint32_t Pid);

// The instance of that name, or null.
const TDecodedInstance* InstanceNamed(const TDecodedObject& Object, const std::string& Name);

// The seconds from a file time to the object's time stamp.
double SecondsSince(std::int64_t FileTime, const TDecodedObject& Object);

// The whole text of a file; empty when it cannot be read.
std::string ReadText(const std::string& Path);

// The fields of a stat file of /proc numbered as in proc(5): 1 the pid, 2 the name, ...
std::vector<std::string> StatFields(const std::string& Path);

// A number of a "Key: value" file in /proc, in the file's unit.
std::uint64_t KeyedNumber(const std::string& Path, const std::string& Key);

// Threads that wait until the object is destroyed.
class TWaitingThreads {
 public:
  explicit TWaitingThreads(int Count);
  ~TWaitingThreads();

 private:
  std::mutex Mutex_;
  std::condition_variable Done_;
  bool Finished_ = false;
  std::vector<std::thread> Threads_;
};

}  // namespace gaugery::test
