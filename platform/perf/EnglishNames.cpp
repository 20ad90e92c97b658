#include "perf/EnglishNames.h"

#include "perf/TitleIndexes.h"

namespace gaugery {

namespace {

constexpr TNameText Texts[] = {
    {SystemObjectIndex, "System",
     "The System object holds counters that apply to the whole computer rather than to one "
     "processor or process. On Linux they are read from /proc/stat, /proc/loadavg and the list "
     "of process directories in /proc."},
    {MemoryObjectIndex, "Memory",
     "The Memory object describes the physical and virtual memory of the computer: the memory "
     "available to programs, the memory committed to them with its limit, and page faults. On "
     "Linux it is read from /proc/meminfo and /proc/vmstat."},
    {ProcessorTimeIndex, "% Processor Time",
     "For a process or thread: the percentage of elapsed time that it used a processor, in "
     "user and kernel mode together (utime + stime of /proc/<pid>/stat or "
     "/proc/<pid>/task/<tid>/stat); a process with several threads can exceed 100%. For a "
     "processor: the percentage of elapsed time it was busy, that is 100% minus the share it "
     "spent idle or waiting for I/O (idle + iowait of its cpu line in /proc/stat); _Total is "
     "the average over all processors."},
    {AvailableBytesIndex, "Available Bytes",
     "The physical memory, in bytes, that can be given to programs right away without swapping "
     "anything out: MemAvailable of /proc/meminfo, the kernel's estimate that counts free "
     "memory and the caches it can reclaim."},
    {CommittedBytesIndex, "Committed Bytes",
     "The virtual memory, in bytes, that the processes of the computer have allocated, whether "
     "they have used it yet or not: Committed_AS of /proc/meminfo."},
    {PageFaultsIndex, "Page Faults/sec",
     "The rate of page faults: accesses to a page of memory that was not mapped at that moment, "
     "both those the kernel resolves without reading the disk and those that need a read. For "
     "a process: minflt + majflt of /proc/<pid>/stat; for the computer's memory: pgfault of "
     "/proc/vmstat. The block holds the count since the start; the rate comes from two "
     "samples."},
    {CommitLimitIndex, "Commit Limit",
     "The virtual memory, in bytes, that can be committed under the kernel's strict overcommit "
     "rule: CommitLimit of /proc/meminfo, the swap space plus the configured share of physical "
     "memory. Under the default heuristic overcommit, Committed Bytes may exceed it."},
    {ProcessorQueueLengthIndex, "Processor Queue Length",
     "The number of threads that are running or ready to run at the moment of the sample: "
     "procs_running of /proc/stat. Unlike on Windows, the threads that are running on a "
     "processor are counted as well."},
    {PoolPagedBytesIndex, "Pool Paged Bytes",
     "The paged kernel memory, in bytes, charged to the process. Linux keeps no such pool per "
     "process, so the value is always 0."},
    {PoolNonpagedBytesIndex, "Pool Nonpaged Bytes",
     "Kernel memory, in bytes, that the process occupies and that cannot be paged out. On "
     "Linux this is the size of the process's page tables: VmPTE of /proc/<pid>/status."},
    {UserTimeIndex, "% User Time",
     "The percentage of elapsed time spent in user mode, where programs run their own code. "
     "For a process: utime of /proc/<pid>/stat, over all its threads; for a thread: utime of "
     "/proc/<pid>/task/<tid>/stat. For a processor: user + nice of its cpu line in "
     "/proc/stat; _Total is the average over all processors."},
    {PrivilegedTimeIndex, "% Privileged Time",
     "The percentage of elapsed time spent in kernel mode, running system calls and other "
     "kernel code. For a process: stime of /proc/<pid>/stat, over all its threads; for a "
     "thread: stime of /proc/<pid>/task/<tid>/stat. For a processor: system of its cpu line "
     "in /proc/stat; the time spent on interrupts is shown by % Interrupt Time instead."},
    {ContextSwitchesIndex, "Context Switches/sec",
     "The rate at which processors switched from one thread to another. For the system: ctxt "
     "of /proc/stat, counted since boot over all processors. For a thread: the switches away "
     "from it, voluntary_ctxt_switches + nonvoluntary_ctxt_switches of "
     "/proc/<pid>/task/<tid>/status. The rate comes from two samples."},
    {InterruptsIndex, "Interrupts/sec",
     "The rate of hardware interrupts that the processor handled. For a processor: the sum of "
     "its column over the lines of /proc/interrupts; for _Total: intr of /proc/stat, which "
     "also counts the interrupts that are no single processor's."},
    {VirtualBytesPeakIndex, "Virtual Bytes Peak",
     "The largest size, in bytes, that the virtual address space of the process has reached: "
     "VmPeak of /proc/<pid>/status."},
    {VirtualBytesIndex, "Virtual Bytes",
     "The current size, in bytes, of the virtual address space of the process, shared "
     "libraries and mapped files included: VmSize of /proc/<pid>/status. Address space that is "
     "reserved uses no memory until it is touched."},
    {WorkingSetPeakIndex, "Working Set Peak",
     "The largest working set, in bytes, that the process has had: VmHWM of "
     "/proc/<pid>/status, the peak of its resident memory."},
    {WorkingSetIndex, "Working Set",
     "The memory of the process, in bytes, that is resident in physical memory at the moment, "
     "pages shared with other processes included: VmRSS of /proc/<pid>/status."},
    {PageFileBytesPeakIndex, "Page File Bytes Peak",
     "The largest value of Page File Bytes seen for the process since this program first "
     "sampled it. Linux keeps no such peak, so it starts from the first sample."},
    {PageFileBytesIndex, "Page File Bytes",
     "The memory, in bytes, that the process has allocated for its own use and that swap "
     "space would have to hold if it were paged out: its anonymous resident memory plus the "
     "part already swapped out (RssAnon + VmSwap of /proc/<pid>/status)."},
    {PrivateBytesIndex, "Private Bytes",
     "The memory, in bytes, that belongs to the process alone and cannot be shared with other "
     "processes: its anonymous memory, resident or swapped out (RssAnon + VmSwap of "
     "/proc/<pid>/status)."},
    {AvgDiskSecPerReadIndex, "Avg. Disk sec/Read",
     "The average time, in seconds, that a read took between two samples: the difference of "
     "the milliseconds spent reading (field 7 of the device's line in /proc/diskstats) over "
     "the difference of the reads completed (field 4). The base counts the reads times "
     "10,000,000, the frequency of the time, so that the monitor's quotient of differences is "
     "in seconds."},
    {AvgDiskSecPerWriteIndex, "Avg. Disk sec/Write",
     "The average time, in seconds, that a write took between two samples: the difference of "
     "the milliseconds spent writing (field 11 of the device's line in /proc/diskstats) over "
     "the difference of the writes completed (field 8). The base counts the writes times "
     "10,000,000, the frequency of the time, so that the monitor's quotient of differences is "
     "in seconds."},
    {DiskReadsIndex, "Disk Reads/sec",
     "The rate of read requests the device completed: field 4 of its line in /proc/diskstats. "
     "For a logical disk these are the figures of the device the file system lies on; a file "
     "system without one, such as tmpfs, shows 0."},
    {DiskWritesIndex, "Disk Writes/sec",
     "The rate of write requests the device completed: field 8 of its line in "
     "/proc/diskstats. For a logical disk these are the figures of the device the file system "
     "lies on; a file system without one, such as tmpfs, shows 0."},
    {DiskReadBytesIndex, "Disk Read Bytes/sec",
     "The rate at which bytes were read from the device: the sectors read, field 6 of its "
     "line in /proc/diskstats, times 512 (the kernel counts in 512-byte sectors whatever the "
     "device's own sector size)."},
    {DiskWriteBytesIndex, "Disk Write Bytes/sec",
     "The rate at which bytes were written to the device: the sectors written, field 10 of "
     "its line in /proc/diskstats, times 512 (the kernel counts in 512-byte sectors whatever "
     "the device's own sector size)."},
    {ProcessObjectIndex, "Process",
     "The Process object describes the programs running on this computer: one instance per "
     "process in /proc, named by the command name in /proc/<pid>/stat, in ascending order of "
     "process id, followed by the instance _Total with the sums over all processes. A process "
     "that ends while it is read is left out of the sample."},
    {ThreadObjectIndex, "Thread",
     "The Thread object describes every thread of every process: one instance per thread, "
     "named <process name>/<thread id> after the process name in /proc/<pid>/stat and the "
     "thread's directory in /proc/<pid>/task, each process's main thread first, followed by "
     "_Total/_Total. Reading all threads is costly, so the object is only in a sample that "
     "asks for it by its index (232), not in Global."},
    {PhysicalDiskObjectIndex, "PhysicalDisk",
     "The PhysicalDisk object describes the disks of the computer: one instance per whole "
     "disk backed by hardware (a device in /sys/block with a device link, so no partitions, "
     "loop, ram, zram, device-mapper or md devices), named by its number and its name (0 sda, "
     "1 nvme0n1, ...) in the order of /proc/diskstats, followed by _Total."},
    {LogicalDiskObjectIndex, "LogicalDisk",
     "The LogicalDisk object describes the mounted local file systems: one instance per mount "
     "point in /proc/self/mountinfo whose file system has a size (network, FUSE and automount "
     "file systems are left out), followed by _Total. The space comes from statvfs, the "
     "transfers from the /proc/diskstats line of the device the file system lies on."},
    {ProcessorObjectIndex, "Processor",
     "The Processor object describes the use of each logical processor: one instance per "
     "processor, named by the number Linux gives it (0, 1, ...), followed by the instance "
     "_Total with the average over all processors. The times come from the cpu lines of "
     "/proc/stat, the interrupts from /proc/interrupts."},
    {ProcessesIndex, "Processes",
     "The number of processes on the computer at the moment of the sample: the process "
     "directories in /proc, kernel threads included."},
    {ThreadsIndex, "Threads",
     "The number of threads on the computer at the moment of the sample, kernel threads "
     "included: the number after the slash in /proc/loadavg."},
    {BytesReceivedIndex, "Bytes Received/sec",
     "The rate at which bytes arrived on the interface, link-level headers included: the "
     "first receive column (bytes) of its line in /proc/net/dev."},
    {PacketsReceivedIndex, "Packets Received/sec",
     "The rate at which packets arrived on the interface: the receive packets column of its "
     "line in /proc/net/dev."},
    {BytesTotalIndex, "Bytes Total/sec",
     "The rate at which bytes were sent and received on the interface together: the receive "
     "and transmit bytes columns of its line in /proc/net/dev."},
    {PacketsIndex, "Packets/sec",
     "The rate at which packets were sent and received on the interface together: the receive "
     "and transmit packets columns of its line in /proc/net/dev."},
    {PacketsSentIndex, "Packets Sent/sec",
     "The rate at which packets were sent on the interface: the transmit packets column of "
     "its line in /proc/net/dev."},
    {BytesSentIndex, "Bytes Sent/sec",
     "The rate at which bytes were sent on the interface, link-level headers included: the "
     "transmit bytes column of its line in /proc/net/dev."},
    {NetworkInterfaceObjectIndex, "Network Interface",
     "The Network Interface object describes the traffic of each network interface of the "
     "computer: one instance per interface of /proc/net/dev except the loopback interface lo, "
     "named as Linux names it (eth0, wlan0, ...). The interfaces are those of the network "
     "namespace of the reading process."},
    {CurrentBandwidthIndex, "Current Bandwidth",
     "The speed of the interface's link in bits per second: /sys/class/net/<name>/speed, "
     "which holds megabits per second, times 1,000,000. It is 0 where the speed is unknown "
     "(the file says -1 or cannot be read, as for most virtual interfaces)."},
    {PacketsOutboundDiscardedIndex, "Packets Outbound Discarded",
     "The number of packets to send that the interface dropped without an error, for example "
     "for want of buffer space: the transmit drop column of its line in /proc/net/dev."},
    {PacketsOutboundErrorsIndex, "Packets Outbound Errors",
     "The number of packets the interface could not send because of an error: the transmit "
     "errs column of its line in /proc/net/dev."},
    {SystemUpTimeIndex, "System Up Time",
     "The time since the computer started, in seconds. The block holds the boot time as a "
     "file time, taken from the Linux boot-time clock; the up time is the object's time stamp "
     "minus that value."},
    {ThreadCountIndex, "Thread Count",
     "The number of threads of the process at the moment of the sample: num_threads of "
     "/proc/<pid>/stat."},
    {PriorityBaseIndex, "Priority Base",
     "The base priority of the process or thread on the Windows scale: 8 for the normal nice "
     "value 0, rising to 13 for nice -20 and falling to 4 for nice 19 (nice of "
     "/proc/<pid>/stat, or of /proc/<pid>/task/<tid>/stat for a thread, which can have a nice "
     "value of its own)."},
    {ElapsedTimeIndex, "Elapsed Time",
     "The time the process or thread has been running, in seconds. The block holds its start "
     "as a file time, from starttime of /proc/<pid>/stat or /proc/<pid>/task/<tid>/stat; the "
     "elapsed time is the object's time stamp minus that value. For _Total it is the start of "
     "the oldest process or thread."},
    {InterruptTimeIndex, "% Interrupt Time",
     "The percentage of elapsed time the processor spent handling hardware and software "
     "interrupts: irq + softirq of its cpu line in /proc/stat; _Total is the average over all "
     "processors."},
    {PagingFileObjectIndex, "Paging File",
     "The Paging File object describes the swap areas of the computer: one instance per area "
     "of /proc/swaps, named by its device or file, followed by _Total. Without swap only "
     "_Total is there, with 0%."},
    {UsageIndex, "% Usage",
     "The share of the swap area in use, in percent: Used over Size of its line in "
     "/proc/swaps, both counted in bytes here."},
    {UsagePeakIndex, "% Usage Peak",
     "The largest share of the swap area in use seen since this program first read it, in "
     "percent of its size. Linux keeps no such peak, so it starts with the first sample; an "
     "area that is switched off loses it."},
    {IdProcessIndex, "ID Process",
     "The process id, unique while the process runs; Linux may give it to a new process after "
     "this one has ended. For a thread: the id of the process it belongs to. _Total shows 0."},
    {IdThreadIndex, "ID Thread",
     "The thread id: the number of the thread's directory in /proc/<pid>/task, unique while "
     "the thread runs. The main thread of a process has the process id. _Total shows 0."},
    {HandleCountIndex, "Handle Count",
     "The number of file descriptors the process has open: the entries of /proc/<pid>/fd. It "
     "is 0 when that directory may not be read."},
    {CommittedBytesInUseIndex, "% Committed Bytes In Use",
     "Committed Bytes as a percentage of Commit Limit, both from /proc/meminfo (Committed_AS "
     "and CommitLimit) and counted in MiB here. Under heuristic overcommit it may exceed "
     "100%."},
    {CommittedBytesInUseBaseIndex, "% Committed Bytes In Use Base",
     "The base of % Committed Bytes In Use: Commit Limit in MiB (CommitLimit of "
     "/proc/meminfo). It is not meant to be shown on its own."},
    {CreatingProcessIdIndex, "Creating Process ID",
     "The id of the parent process: ppid of /proc/<pid>/stat. When the parent ends, Linux "
     "gives the process a new parent (process 1 or the nearest subreaper), so unlike on "
     "Windows the value can change."},
    {IoReadOperationsIndex, "IO Read Operations/sec",
     "The rate of the read system calls of the process (read, pread, readv and the like) on "
     "files, pipes, sockets and devices: syscr of /proc/<pid>/io. It is 0 when that file may "
     "not be read."},
    {IoWriteOperationsIndex, "IO Write Operations/sec",
     "The rate of the write system calls of the process (write, pwrite, writev and the like) "
     "on files, pipes, sockets and devices: syscw of /proc/<pid>/io. It is 0 when that file "
     "may not be read."},
    {IoDataOperationsIndex, "IO Data Operations/sec",
     "The rate of the read and write system calls of the process together: syscr + syscw of "
     "/proc/<pid>/io. It is 0 when that file may not be read."},
    {IoOtherOperationsIndex, "IO Other Operations/sec",
     "The rate of the I/O operations of the process that neither read nor write data. Linux "
     "does not count them per process, so the value is always 0."},
    {IoReadBytesIndex, "IO Read Bytes/sec",
     "The rate at which the process reads bytes through read system calls, from the page "
     "cache, disks, pipes, sockets or devices alike: rchar of /proc/<pid>/io. It is 0 when "
     "that file may not be read."},
    {IoWriteBytesIndex, "IO Write Bytes/sec",
     "The rate at which the process writes bytes through write system calls, to files, pipes, "
     "sockets or devices alike: wchar of /proc/<pid>/io. It is 0 when that file may not be "
     "read."},
    {IoDataBytesIndex, "IO Data Bytes/sec",
     "The rate at which the process reads and writes bytes together: rchar + wchar of "
     "/proc/<pid>/io. It is 0 when that file may not be read."},
    {IoOtherBytesIndex, "IO Other Bytes/sec",
     "The rate of bytes moved by I/O operations of the process that neither read nor write "
     "data. Linux does not count them per process, so the value is always 0."},
    {WorkingSetPrivateIndex, "Working Set - Private",
     "The part of the working set, in bytes, that belongs to the process alone and is not "
     "shared with other processes: RssAnon of /proc/<pid>/status, its resident anonymous "
     "memory."},
    {ThreadStateIndex, "Thread State",
     "The state of the thread as Windows numbers it, from the state letter of "
     "/proc/<pid>/task/<tid>/stat: 2 (running) for R, running or ready to run; 5 (waiting) "
     "for S, D, I, T, t, P, K and W, the kinds of sleeping and being stopped; 4 (terminated) "
     "for Z and X; 7 (unknown) for any other letter."},
    {DiskTransfersIndex, "Disk Transfers/sec",
     "The rate of read and write requests the device completed together: fields 4 and 8 of "
     "its line in /proc/diskstats."},
    {DiskBytesIndex, "Disk Bytes/sec",
     "The rate at which bytes were read from and written to the device together: the sectors "
     "of fields 6 and 10 of its line in /proc/diskstats, times 512."},
    {AvgDiskSecPerReadBaseIndex, "Avg. Disk sec/Read Base",
     "The base of Avg. Disk sec/Read: the reads completed (field 4 of /proc/diskstats) times "
     "10,000,000. It is not meant to be shown on its own."},
    {AvgDiskSecPerWriteBaseIndex, "Avg. Disk sec/Write Base",
     "The base of Avg. Disk sec/Write: the writes completed (field 8 of /proc/diskstats) "
     "times 10,000,000. It is not meant to be shown on its own."},
    {CurrentDiskQueueLengthIndex, "Current Disk Queue Length",
     "The number of requests in progress on the device at the moment of the sample, those "
     "being served included: field 12 of its line in /proc/diskstats."},
    {DiskTimeIndex, "% Disk Time",
     "The percentage of elapsed time the device was busy, with at least one request in "
     "progress: the milliseconds doing I/O, field 13 of its line in /proc/diskstats (what "
     "iostat shows as %util). _Total is the average over the disks or file systems."},
    {IdleTimeIndex, "% Idle Time",
     "The percentage of elapsed time the device had no request in progress: 100% minus % Disk "
     "Time, from field 13 of its line in /proc/diskstats. _Total is the average over the "
     "disks or file systems."},
    {FreeSpaceIndex, "% Free Space",
     "The space available to programs as a percentage of the file system's space in use plus "
     "available, both from statvfs (f_bavail, and f_blocks - f_bfree + f_bavail), so that it "
     "is 100% minus the Use% that df shows. Blocks reserved for the superuser are in neither."},
    {FreeSpaceBaseIndex, "% Free Space Base",
     "The base of % Free Space: the bytes of the file system in use plus those available to "
     "programs, from statvfs. It is not meant to be shown on its own."},
    {FreeMegabytesIndex, "Free Megabytes",
     "The space of the file system available to programs, in MiB (1,048,576 bytes): f_bavail "
     "times f_frsize of statvfs, as df shows it under Avail."},
    {PacketsReceivedErrorsIndex, "Packets Received Errors",
     "The number of packets that arrived on the interface with an error (a bad checksum, a "
     "wrong length and the like): the receive errs column of its line in /proc/net/dev."},
    {PacketsReceivedDiscardedIndex, "Packets Received Discarded",
     "The number of packets that arrived on the interface and were dropped without an error, "
     "for example for want of buffer space: the receive drop column of its line in "
     "/proc/net/dev."},
    {UsageBaseIndex, "% Usage Base",
     "The base of % Usage: the size of the swap area in bytes (Size of /proc/swaps). It is "
     "not meant to be shown on its own."},
    {UsagePeakBaseIndex, "% Usage Peak Base",
     "The base of % Usage Peak: the size of the swap area in bytes (Size of /proc/swaps). It "
     "is not meant to be shown on its own."},
};

}  // namespace

std::span<const TNameText> EnglishNames() { return Texts; }

}  // namespace gaugery
