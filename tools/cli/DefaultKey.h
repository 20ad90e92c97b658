// The key counters that tell instances of one name apart when the user names none:
// "ID Process" for the Process object, so that processes of the same program keep
// their own records and a process id taken over by a new process starts afresh.
#pragma once

#include <string>

namespace gaugery {
class TPerfMonitorItem;
}  // namespace gaugery

namespace gaugery::cli {

// The object key for Item, in the titles of its filter's locale: "" for an object
// without instances or other than Process.
std::string DefaultObjectKey(TPerfMonitorItem& Item);

}  // namespace gaugery::cli
