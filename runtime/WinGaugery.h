// Walkers of the performance data block: each step adds one length field of the
// format to a record's address. They check nothing against the block's size; a
// block is walked only after IsWellFormedBlock (registry/PerfBlockCheck.h) accepted it.
#pragma once

#include <string>

#include "WinPerf.h"
#include "framework/LibraryExport.h"

namespace gaugery {

class TStringList;

// Address plus offset; the offset is an unsigned 32-bit number (zero-extended on
// 64-bit builds, never negative).
inline void* OffsetPointer(void* Address, DWORD Offset) {
  return static_cast<BYTE*>(Address) + static_cast<std::size_t>(Offset);
}

// The first object: HeaderLength bytes after the block's start.
inline PPERF_OBJECT_TYPE FirstObject(PPERF_DATA_BLOCK PerfData) {
  return static_cast<PPERF_OBJECT_TYPE>(OffsetPointer(PerfData, PerfData->HeaderLength));
}

inline PPERF_OBJECT_TYPE NextObject(PPERF_OBJECT_TYPE PerfObject) {
  return static_cast<PPERF_OBJECT_TYPE>(OffsetPointer(PerfObject, PerfObject->TotalByteLength));
}

inline PPERF_COUNTER_DEFINITION FirstCounter(PPERF_OBJECT_TYPE PerfObject) {
  return static_cast<PPERF_COUNTER_DEFINITION>(OffsetPointer(PerfObject, PerfObject->HeaderLength));
}

inline PPERF_COUNTER_DEFINITION NextCounter(PPERF_COUNTER_DEFINITION PerfCounter) {
  return static_cast<PPERF_COUNTER_DEFINITION>(OffsetPointer(PerfCounter, PerfCounter->ByteLength));
}

// Null only for an object without instances (NumInstances -1). For NumInstances 0
// the result is the place after the definitions, which is not an instance.
inline PPERF_INSTANCE_DEFINITION FirstInstance(PPERF_OBJECT_TYPE PerfObject) {
  if (PerfObject->NumInstances == PERF_NO_INSTANCES) return nullptr;
  return static_cast<PPERF_INSTANCE_DEFINITION>(
      OffsetPointer(PerfObject, PerfObject->DefinitionLength));
}

// The counter block that directly follows an instance definition.
inline PPERF_COUNTER_BLOCK InstanceBlock(PPERF_INSTANCE_DEFINITION PerfInstance) {
  return static_cast<PPERF_COUNTER_BLOCK>(OffsetPointer(PerfInstance, PerfInstance->ByteLength));
}

// The instance that follows a counter block.
inline PPERF_INSTANCE_DEFINITION NextBlockInstance(PPERF_COUNTER_BLOCK PerfBlock) {
  return static_cast<PPERF_INSTANCE_DEFINITION>(OffsetPointer(PerfBlock, PerfBlock->ByteLength));
}

// The instance after this one, beyond its counter block.
inline PPERF_INSTANCE_DEFINITION NextInstance(PPERF_INSTANCE_DEFINITION PerfInstance) {
  return NextBlockInstance(InstanceBlock(PerfInstance));
}

// The object's own counter block; null for an object with instances (also for 0).
inline PPERF_COUNTER_BLOCK ObjectBlock(PPERF_OBJECT_TYPE PerfObject) {
  if (PerfObject->NumInstances != PERF_NO_INSTANCES) return nullptr;
  return static_cast<PPERF_COUNTER_BLOCK>(OffsetPointer(PerfObject, PerfObject->DefinitionLength));
}

// The instance's name: empty when NameLength is 0, otherwise the UTF-16 text at
// NameOffset up to the first NUL (NameLength does not bound it).
GAUGERY_RUNTIME_API std::string PerfInstName(PPERF_INSTANCE_DEFINITION PerfInstance);

// The NUL-terminated UTF-16 text at Text as UTF-8. Text may have any alignment:
// names in a block sit wherever the provider wrote them.
GAUGERY_RUNTIME_API std::string WideTextAt(const void* Text);

// Loads the counter names (Help false: value "Counter") or the help texts (Help true:
// value "Help") of a locale of the local computer (ComputerName empty) or a remote one
// into Target, as lines "<index>=<text>" in registry order, every pair kept, also
// those whose text is blank. A computer that cannot be connected raises Exception
// "Cannot open remote registry on %s (%d)"; a locale without a subkey leaves Target as
// it was.
GAUGERY_RUNTIME_API void GetNameStrings(const std::string& Locale, bool Help, TStringList* Target,
                                        const std::string& ComputerName);

}  // namespace gaugery
