// Serving the performance data from blocks held in memory instead of the live
// machine: the --replay option, and the one sample of the one-shot commands.
#pragma once

#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "LogTime.h"
#include "framework/WinTypes.h"

namespace gaugery::cli {

// Puts the replay of Files (UTF-8 paths) in service instead of the live machine, keeping
// the name tables of the providers in service; on Windows, where none is in service,
// with the project's own English and German tables. Raises when a file cannot be read or
// is not one complete block. A counter log (told apart by its first bytes) replays
// alone, sample after sample, with its own names, those of Window only. Raises when a
// window is given for capture files, which hold no times.
void UseReplay(const std::vector<std::string>& Files, const TLogWindow& Window = {});

// When the replay is in service, its next query serves the first file again, whatever
// was read before; otherwise nothing happens.
void RestartReplayedSamples();

// True when a counter log is in service: its samples have times of their own, and end.
bool ReplayingLog();

// The file time of Time on the clock of the log in service, as --begin reads it (a time
// of day on the log's first day, in the recording machine's zone). Raises when no log is
// in service or it can no longer be read.
std::int64_t ReplayedLogFileTime(const TLogTime& Time);

// Holds the replayed log for a run of samples that must follow one another (the web
// view's walk through it), or for one sample of a sampler that must not fall inside such
// a run: every taker of a log's samples in a process of several holds it. An empty lock
// while no log replays, when each query stands alone.
std::unique_lock<std::mutex> HoldReplayedLog();

// Writes each warning of the log's reader not written before (a torn end, a damaged
// record passed over) to Out, one line each, prefixed "gaugery: ".
void PrintReplayWarnings(std::ostream& Out);

// For a command that shows one sample: reads the live block of ValueName once and
// answers every later query of the process with it, so that the components, which
// query whenever they take or locate a sample, all see that one. A command that names
// its objects holds only those (ObjectsValueName), and so reads no more of the machine
// than they need. Nothing happens while a replay is in service, when the live query
// fails or its block's header is malformed (the components then meet the failure
// themselves), and on Windows, where the registry is the system's.
void HoldOneSample(const std::string& ValueName);

// The value that queries the objects with these title indexes alone: their list, or
// "Global" when there are none.
std::string IndexListValueName(const std::vector<DWORD>& Indexes);

// The value that queries the objects with these titles (in Locale, or written as
// "#9000") alone: the list of those the name tables know, or "Global" when they know
// none, so that the components meet an unknown title themselves.
std::string ObjectsValueName(const std::vector<std::string>& Titles, const std::string& Locale);

}  // namespace gaugery::cli
