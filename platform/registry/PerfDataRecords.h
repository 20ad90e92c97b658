// The records of the performance data block, their pointer types, the constants of
// the format and the entry-point types of a performance-counter provider.
//
// Every record has the same size and field offsets in 32- and 64-bit builds. The
// records are declared with 1-byte packing: the fields already sit at their natural
// offsets (checked below), so the layout is unchanged, but a record may then be read
// at any address a provider wrote it to without an unaligned access.
//
// This header depends on nothing but the platform's fixed-width types, so that the
// platform layer's providers can write blocks with the same declarations.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/WinTypes.h"

namespace gaugery {

#pragma pack(push, 1)

struct TPERF_DATA_BLOCK {
  WCHAR Signature[4];
  DWORD LittleEndian;
  DWORD Version;
  DWORD Revision;
  DWORD TotalByteLength;
  DWORD HeaderLength;
  DWORD NumObjectTypes;
  LONG DefaultObject;
  SYSTEMTIME SystemTime;
  DWORD Reserved;
  std::int64_t PerfTime;
  std::int64_t PerfFreq;
  std::int64_t PerfTime100nSec;
  DWORD SystemNameLength;
  DWORD SystemNameOffset;
};

struct TPERF_OBJECT_TYPE {
  DWORD TotalByteLength;
  DWORD DefinitionLength;
  DWORD HeaderLength;
  DWORD ObjectNameTitleIndex;
  DWORD ObjectNameTitle;
  DWORD ObjectHelpTitleIndex;
  DWORD ObjectHelpTitle;
  DWORD DetailLevel;
  DWORD NumCounters;
  LONG DefaultCounter;
  LONG NumInstances;
  DWORD CodePage;
  std::int64_t PerfTime;
  std::int64_t PerfFreq;
};

struct TPERF_COUNTER_DEFINITION {
  DWORD ByteLength;
  DWORD CounterNameTitleIndex;
  DWORD CounterNameTitle;
  DWORD CounterHelpTitleIndex;
  DWORD CounterHelpTitle;
  LONG DefaultScale;
  DWORD DetailLevel;
  DWORD CounterType;
  DWORD CounterSize;
  DWORD CounterOffset;
};

struct TPERF_INSTANCE_DEFINITION {
  DWORD ByteLength;
  DWORD ParentObjectTitleIndex;
  DWORD ParentObjectInstance;
  LONG UniqueID;
  DWORD NameOffset;
  DWORD NameLength;
};

struct TPERF_COUNTER_BLOCK {
  DWORD ByteLength;
};

#pragma pack(pop)

static_assert(sizeof(TPERF_DATA_BLOCK) == 88);
static_assert(offsetof(TPERF_DATA_BLOCK, TotalByteLength) == 20);
static_assert(offsetof(TPERF_DATA_BLOCK, SystemTime) == 36);
static_assert(offsetof(TPERF_DATA_BLOCK, Reserved) == 52);
static_assert(offsetof(TPERF_DATA_BLOCK, PerfTime) == 56);
static_assert(offsetof(TPERF_DATA_BLOCK, PerfFreq) == 64);
static_assert(offsetof(TPERF_DATA_BLOCK, PerfTime100nSec) == 72);
static_assert(offsetof(TPERF_DATA_BLOCK, SystemNameLength) == 80);
static_assert(offsetof(TPERF_DATA_BLOCK, SystemNameOffset) == 84);
static_assert(sizeof(TPERF_OBJECT_TYPE) == 64);
static_assert(offsetof(TPERF_OBJECT_TYPE, NumCounters) == 32);
static_assert(offsetof(TPERF_OBJECT_TYPE, NumInstances) == 40);
static_assert(offsetof(TPERF_OBJECT_TYPE, PerfTime) == 48);
static_assert(offsetof(TPERF_OBJECT_TYPE, PerfFreq) == 56);
static_assert(sizeof(TPERF_COUNTER_DEFINITION) == 40);
static_assert(offsetof(TPERF_COUNTER_DEFINITION, CounterType) == 28);
static_assert(offsetof(TPERF_COUNTER_DEFINITION, CounterOffset) == 36);
static_assert(sizeof(TPERF_INSTANCE_DEFINITION) == 24);
static_assert(offsetof(TPERF_INSTANCE_DEFINITION, UniqueID) == 12);
static_assert(offsetof(TPERF_INSTANCE_DEFINITION, NameLength) == 20);
static_assert(sizeof(TPERF_COUNTER_BLOCK) == 4);

using PPERF_DATA_BLOCK = TPERF_DATA_BLOCK*;
using PPERF_OBJECT_TYPE = TPERF_OBJECT_TYPE*;
using PPERF_COUNTER_DEFINITION = TPERF_COUNTER_DEFINITION*;
using PPERF_INSTANCE_DEFINITION = TPERF_INSTANCE_DEFINITION*;
using PPERF_COUNTER_BLOCK = TPERF_COUNTER_BLOCK*;
using PInt64 = std::int64_t*;
using PPointer = void**;

// Entry points of a performance-counter provider.
using TPM_OPEN_PROC = DWORD(GAUGERY_WINAPI*)(LPWSTR DeviceNames);
using TPM_COLLECT_PROC = DWORD(GAUGERY_WINAPI*)(LPWSTR ValueName, PPointer Data, LPDWORD TotalBytes,
                                                LPDWORD NumObjectTypes);
using TPM_CLOSE_PROC = DWORD(GAUGERY_WINAPI*)();

constexpr LONG PERF_NO_INSTANCES = -1;
constexpr LONG PERF_NO_UNIQUE_ID = -1;

constexpr DWORD PERF_DETAIL_NOVICE = 100;
constexpr DWORD PERF_DETAIL_ADVANCED = 200;
constexpr DWORD PERF_DETAIL_EXPERT = 300;
constexpr DWORD PERF_DETAIL_WIZARD = 400;

// The fields of the counter type word.
constexpr DWORD PERF_SIZE_MASK = 0x00000300;
constexpr DWORD PERF_TYPE_MASK = 0x00000C00;
constexpr DWORD PERF_SUBTYPE_MASK = 0x000F0000;
constexpr DWORD PERF_TIMER_MASK = 0x00300000;
constexpr DWORD PERF_MODIFIER_MASK = 0x0FC00000;
constexpr DWORD PERF_DISPLAY_MASK = 0xF0000000;

constexpr DWORD PERF_SIZE_DWORD = 0x00000000;
constexpr DWORD PERF_SIZE_LARGE = 0x00000100;
constexpr DWORD PERF_SIZE_ZERO = 0x00000200;
constexpr DWORD PERF_SIZE_VARIABLE_LEN = 0x00000300;

constexpr DWORD PERF_TYPE_NUMBER = 0x00000000;
constexpr DWORD PERF_TYPE_COUNTER = 0x00000400;
constexpr DWORD PERF_TYPE_TEXT = 0x00000800;
constexpr DWORD PERF_TYPE_ZERO = 0x00000C00;

constexpr DWORD PERF_NUMBER_HEX = 0x00000000;
constexpr DWORD PERF_NUMBER_DECIMAL = 0x00010000;
constexpr DWORD PERF_NUMBER_DEC_1000 = 0x00020000;

constexpr DWORD PERF_COUNTER_VALUE = 0x00000000;
constexpr DWORD PERF_COUNTER_RATE = 0x00010000;
constexpr DWORD PERF_COUNTER_FRACTION = 0x00020000;
constexpr DWORD PERF_COUNTER_BASE = 0x00030000;
constexpr DWORD PERF_COUNTER_ELAPSED = 0x00040000;
constexpr DWORD PERF_COUNTER_QUEUELEN = 0x00050000;
constexpr DWORD PERF_COUNTER_HISTOGRAM = 0x00060000;

constexpr DWORD PERF_TEXT_UNICODE = 0x00000000;
constexpr DWORD PERF_TEXT_ASCII = 0x00010000;

constexpr DWORD PERF_TIMER_TICK = 0x00000000;
constexpr DWORD PERF_TIMER_100NS = 0x00100000;
constexpr DWORD PERF_OBJECT_TIMER = 0x00200000;

constexpr DWORD PERF_DELTA_COUNTER = 0x00400000;
constexpr DWORD PERF_DELTA_BASE = 0x00800000;
constexpr DWORD PERF_INVERSE_COUNTER = 0x01000000;
constexpr DWORD PERF_MULTI_COUNTER = 0x02000000;

constexpr DWORD PERF_DISPLAY_NO_SUFFIX = 0x00000000;
constexpr DWORD PERF_DISPLAY_PER_SEC = 0x10000000;
constexpr DWORD PERF_DISPLAY_PERCENT = 0x20000000;
constexpr DWORD PERF_DISPLAY_SECONDS = 0x30000000;
constexpr DWORD PERF_DISPLAY_NOSHOW = 0x40000000;

// The published counter types, composed from the fields above.
constexpr DWORD PERF_COUNTER_COUNTER = 0x10410400;
constexpr DWORD PERF_COUNTER_TIMER = 0x20410500;
constexpr DWORD PERF_COUNTER_QUEUELEN_TYPE = 0x00450400;
constexpr DWORD PERF_COUNTER_LARGE_QUEUELEN_TYPE = 0x00450500;
constexpr DWORD PERF_COUNTER_100NS_QUEUELEN_TYPE = 0x00550500;
constexpr DWORD PERF_COUNTER_OBJ_TIME_QUEUELEN_TYPE = 0x00650500;
constexpr DWORD PERF_COUNTER_BULK_COUNT = 0x10410500;
constexpr DWORD PERF_COUNTER_TEXT = 0x00000B00;
constexpr DWORD PERF_COUNTER_RAWCOUNT = 0x00010000;
constexpr DWORD PERF_COUNTER_LARGE_RAWCOUNT = 0x00010100;
constexpr DWORD PERF_COUNTER_RAWCOUNT_HEX = 0x00000000;
constexpr DWORD PERF_COUNTER_LARGE_RAWCOUNT_HEX = 0x00000100;
constexpr DWORD PERF_SAMPLE_FRACTION = 0x20C20400;
constexpr DWORD PERF_SAMPLE_COUNTER = 0x00410400;
constexpr DWORD PERF_COUNTER_NODATA = 0x40000200;
constexpr DWORD PERF_COUNTER_TIMER_INV = 0x21410500;
constexpr DWORD PERF_SAMPLE_BASE = 0x40030401;
constexpr DWORD PERF_AVERAGE_TIMER = 0x30020400;
constexpr DWORD PERF_AVERAGE_BASE = 0x40030402;
constexpr DWORD PERF_AVERAGE_BULK = 0x40020500;
constexpr DWORD PERF_OBJ_TIME_TIMER = 0x20610500;
constexpr DWORD PERF_100NSEC_TIMER = 0x20510500;
constexpr DWORD PERF_100NSEC_TIMER_INV = 0x21510500;
constexpr DWORD PERF_COUNTER_MULTI_TIMER = 0x22410500;
constexpr DWORD PERF_COUNTER_MULTI_TIMER_INV = 0x23410500;
constexpr DWORD PERF_COUNTER_MULTI_BASE = 0x42030500;
constexpr DWORD PERF_100NSEC_MULTI_TIMER = 0x22510500;
constexpr DWORD PERF_100NSEC_MULTI_TIMER_INV = 0x23510500;
constexpr DWORD PERF_RAW_FRACTION = 0x20020400;
constexpr DWORD PERF_LARGE_RAW_FRACTION = 0x20020500;
constexpr DWORD PERF_RAW_BASE = 0x40030403;
constexpr DWORD PERF_LARGE_RAW_BASE = 0x40030500;
constexpr DWORD PERF_ELAPSED_TIME = 0x30240500;
constexpr DWORD PERF_COUNTER_HISTOGRAM_TYPE = 0x80000000;
constexpr DWORD PERF_COUNTER_DELTA = 0x00400400;
constexpr DWORD PERF_COUNTER_LARGE_DELTA = 0x00400500;
constexpr DWORD PERF_PRECISION_SYSTEM_TIMER = 0x20470500;
constexpr DWORD PERF_PRECISION_100NS_TIMER = 0x20570500;
constexpr DWORD PERF_PRECISION_OBJECT_TIMER = 0x20670500;
constexpr DWORD PERF_PRECISION_TIMESTAMP = PERF_LARGE_RAW_BASE;

}  // namespace gaugery
