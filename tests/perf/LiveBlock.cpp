#include "LiveBlock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "registry/PerfBlockCheck.h"
#include "WinGaugery.h"
#include "registry/Registry.h"

namespace gaugery::test {

namespace {

std::uint64_t ReadValue(const BYTE* Block, const TPERF_COUNTER_DEFINITION& Counter) {
  if (Counter.CounterSize == 8) {
    std::uint64_t Value;
    std::memcpy(&Value, Block + Counter.CounterOffset, sizeof Value);
    return Value;
  }
  std::uint32_t Value;
  std::memcpy(&Value, Block + Counter.CounterOffset, sizeof Value);
  return Value;
}

TCounterValues ReadValues(const void* Block, const TDecodedObject& Object) {
  TCounterValues Values;
  for (const TPERF_COUNTER_DEFINITION& Counter : Object.Counters) {
    Values[Counter.CounterNameTitleIndex] = ReadValue(static_cast<const BYTE*>(Block), Counter);
  }
  return Values;
}

}  // namespace

TDecodedObject DecodeObject(const void* Start) {
  auto Object = static_cast<PPERF_OBJECT_TYPE>(const_cast<void*>(Start));
  TDecodedObject Decoded{Object->ObjectNameTitleIndex, Object->NumInstances, Object->PerfTime,
                         Object->PerfFreq};
  PPERF_COUNTER_DEFINITION Counter = FirstCounter(Object);
  for (DWORD At = 0; At < Object->NumCounters; ++At, Counter = NextCounter(Counter)) {
    Decoded.Counters.push_back(*Counter);
  }
  if (Object->NumInstances == PERF_NO_INSTANCES) {
    Decoded.Values = ReadValues(ObjectBlock(Object), Decoded);
    return Decoded;
  }
  PPERF_INSTANCE_DEFINITION Instance = FirstInstance(Object);
  for (LONG At = 0; At < Object->NumInstances; ++At, Instance = NextInstance(Instance)) {
    Decoded.Instances.push_back(
        {PerfInstName(Instance), ReadValues(InstanceBlock(Instance), Decoded)});
  }
  return Decoded;
}

std::vector<BYTE> QueryBlock(const char16_t* ValueName) {
  std::vector<BYTE> Block(8192);
  for (;;) {
    auto Size = static_cast<DWORD>(Block.size());
    LONG Result =
        RegQueryValueExW(HKEY_PERFORMANCE_DATA, ValueName, nullptr, nullptr, Block.data(), &Size);
    if (Result == ERROR_MORE_DATA) {
      Block.resize(Block.size() * 2);
      continue;
    }
    if (Result != ERROR_SUCCESS)
      throw std::runtime_error("query failed: " + std::to_string(Result));
    Block.resize(Size);
    if (!IsWellFormedBlock(Block.data(), Size)) throw std::runtime_error("malformed block");
    return Block;
  }
}

std::vector<TDecodedObject> DecodeBlock(const std::vector<BYTE>& Block) {
  auto Header = reinterpret_cast<PPERF_DATA_BLOCK>(const_cast<BYTE*>(Block.data()));
  std::vector<TDecodedObject> Objects;
  PPERF_OBJECT_TYPE Object = FirstObject(Header);
  for (DWORD At = 0; At < Header->NumObjectTypes; ++At, Object = NextObject(Object)) {
    Objects.push_back(DecodeObject(Object));
  }
  return Objects;
}

std::vector<TDecodedObject> QueryObjects(const char16_t* ValueName) {
  return DecodeBlock(QueryBlock(ValueName));
}

const TDecodedObject& ObjectOf(const std::vector<TDecodedObject>& Objects, DWORD Index) {
  for (const TDecodedObject& Object : Objects) {
    if (Object.Index == Index) return Object;
  }
  throw std::runtime_error("no object " + std::to_string(Index));
}

const TDecodedInstance* ProcessInstance(const TDecodedObject& Process, std::uint32_t Pid) {
  constexpr DWORD IdProcess = 784;
  for (const TDecodedInstance& Instance : Process.Instances) {
    if (Instance.Values.at(IdProcess) == Pid && Instance.Name != "_Total") return &Instance;
  }
  return nullptr;
}

const TDecodedInstance* InstanceNamed(const TDecodedObject& Object, const std::string& Name) {
  for (const TDecodedInstance& Instance : Object.Instances) {
    if (Instance.Name == Name) return &Instance;
  }
  return nullptr;
}

double SecondsSince(std::int64_t FileTime, const TDecodedObject& Object) {
  return static_cast<double>(Object.PerfTime - FileTime) / static_cast<double>(Object.PerfFreq);
}

std::string ReadText(const std::string& Path) {
  std::ifstream In(Path);
  std::stringstream Text;
  Text << In.rdbuf();
  return Text.str();
}

std::vector<std::string> StatFields(const std::string& Path) {
  std::string Text = ReadText(Path);
  std::size_t Open = Text.find('('), Close = Text.rfind(')');
  if (Open == std::string::npos || Close == std::string::npos || Open == 0) return {};
  std::vector<std::string> Fields{"", Text.substr(0, Open - 1),
                                  Text.substr(Open + 1, Close - Open - 1)};
  std::istringstream Rest(Text.substr(Close + 2));
  for (std::string Field; Rest >> Field;) Fields.push_back(Field);
  return Fields;
}

std::uint64_t KeyedNumber(const std::string& Path, const std::string& Key) {
  std::istringstream Lines(ReadText(Path));
  for (std::string Line; std::getline(Lines, Line);) {
    if (Line.rfind(Key + ":", 0) == 0) return std::stoull(Line.substr(Key.size() + 1));
  }
  ADD_FAILURE() << Key << " not in " << Path;
  return 0;
}

TWaitingThreads::TWaitingThreads(int Count) {
  for (int At = 0; At < Count; ++At) {
    Threads_.emplace_back([this] {
      std::unique_lock<std::mutex> Lock(Mutex_);
      Done_.wait(Lock, [this] { return Finished_; });
    });
  }
}

TWaitingThreads::~TWaitingThreads() {
  {
    std::lock_guard<std::mutex> Lock(Mutex_);
    Finished_ = true;
  }
  Done_.notify_all();
  for (std::thread& Thread : Threads_) Thread.join();
}

}  // namespace gaugery::test
