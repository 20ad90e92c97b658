#include "perf/ProcNames.h"

#include <span>

#include "perf/ProcOwnIndexes.h"

namespace gaugery {

namespace {

struct TNameText {
  DWORD Index;
  const char* Title;
  const char* Help;
};

// Titles as Windows writes them; the help texts say what the value means on Linux and
// where it is read.
constexpr TNameText English[] = {
    {2, "System",
     "The System object holds counters that apply to the whole computer rather than to one "
     "processor or process. On Linux they are read from /proc/stat, /proc/loadavg and the list "
     "of process directories in /proc."},
    {4, "Memory",
     "The Memory object describes the physical and virtual memory of the computer: the memory "
     "available to programs, the memory committed to them with its limit, and page faults. On "
     "Linux it is read from /proc/meminfo and /proc/vmstat."},
    {6, "% Processor Time",
     "For a process or thread: the percentage of elapsed time that it used a processor, in "
     "user and kernel mode together (utime + stime of /proc/<pid>/stat or "
     "/proc/<pid>/task/<tid>/stat); a process with several threads can exceed 100%. For a "
     "processor: the percentage of elapsed time it was busy, that is 100% minus the share it "
     "spent idle or waiting for I/O (idle + iowait of its cpu line in /proc/stat); _Total is "
     "the average over all processors."},
    {24, "Available Bytes",
     "The physical memory, in bytes, that can be given to programs right away without swapping "
     "anything out: MemAvailable of /proc/meminfo, the kernel's estimate that counts free "
     "memory and the caches it can reclaim."},
    {26, "Committed Bytes",
     "The virtual memory, in bytes, that the processes of the computer have allocated, whether "
     "they have used it yet or not: Committed_AS of /proc/meminfo."},
    {28, "Page Faults/sec",
     "The rate of page faults: accesses to a page of memory that was not mapped at that moment, "
     "both those the kernel resolves without reading the disk and those that need a read. For "
     "a process: minflt + majflt of /proc/<pid>/stat; for the computer's memory: pgfault of "
     "/proc/vmstat. The block holds the count since the start; the rate comes from two "
     "samples."},
    {30, "Commit Limit",
     "The virtual memory, in bytes, that can be committed under the kernel's strict overcommit "
     "rule: CommitLimit of /proc/meminfo, the swap space plus the configured share of physical "
     "memory. Under the default heuristic overcommit, Committed Bytes may exceed it."},
    {44, "Processor Queue Length",
     "The number of threads that are running or ready to run at the moment of the sample: "
     "procs_running of /proc/stat. Unlike on Windows, the threads that are running on a "
     "processor are counted as well."},
    {56, "Pool Paged Bytes",
     "The paged kernel memory, in bytes, charged to the process. Linux keeps no such pool per "
     "process, so the value is always 0."},
    {58, "Pool Nonpaged Bytes",
     "Kernel memory, in bytes, that the process occupies and that cannot be paged out. On "
     "Linux this is the size of the process's page tables: VmPTE of /proc/<pid>/status."},
    {142, "% User Time",
     "The percentage of elapsed time spent in user mode, where programs run their own code. "
     "For a process: utime of /proc/<pid>/stat, over all its threads; for a thread: utime of "
     "/proc/<pid>/task/<tid>/stat. For a processor: user + nice of its cpu line in "
     "/proc/stat; _Total is the average over all processors."},
    {144, "% Privileged Time",
     "The percentage of elapsed time spent in kernel mode, running system calls and other "
     "kernel code. For a process: stime of /proc/<pid>/stat, over all its threads; for a "
     "thread: stime of /proc/<pid>/task/<tid>/stat. For a processor: system of its cpu line "
     "in /proc/stat; the time spent on interrupts is shown by % Interrupt Time instead."},
    {146, "Context Switches/sec",
     "The rate at which processors switched from one thread to another. For the system: ctxt "
     "of /proc/stat, counted since boot over all processors. For a thread: the switches away "
     "from it, voluntary_ctxt_switches + nonvoluntary_ctxt_switches of "
     "/proc/<pid>/task/<tid>/status. The rate comes from two samples."},
    {148, "Interrupts/sec",
     "The rate of hardware interrupts that the processor handled. For a processor: the sum of "
     "its column over the lines of /proc/interrupts; for _Total: intr of /proc/stat, which "
     "also counts the interrupts that are no single processor's."},
    {172, "Virtual Bytes Peak",
     "The largest size, in bytes, that the virtual address space of the process has reached: "
     "VmPeak of /proc/<pid>/status."},
    {174, "Virtual Bytes",
     "The current size, in bytes, of the virtual address space of the process, shared "
     "libraries and mapped files included: VmSize of /proc/<pid>/status. Address space that is "
     "reserved uses no memory until it is touched."},
    {178, "Working Set Peak",
     "The largest working set, in bytes, that the process has had: VmHWM of "
     "/proc/<pid>/status, the peak of its resident memory."},
    {180, "Working Set",
     "The memory of the process, in bytes, that is resident in physical memory at the moment, "
     "pages shared with other processes included: VmRSS of /proc/<pid>/status."},
    {182, "Page File Bytes Peak",
     "The largest value of Page File Bytes seen for the process since this program first "
     "sampled it. Linux keeps no such peak, so it starts from the first sample."},
    {184, "Page File Bytes",
     "The memory, in bytes, that the process has allocated for its own use and that swap "
     "space would have to hold if it were paged out: its anonymous resident memory plus the "
     "part already swapped out (RssAnon + VmSwap of /proc/<pid>/status)."},
    {186, "Private Bytes",
     "The memory, in bytes, that belongs to the process alone and cannot be shared with other "
     "processes: its anonymous memory, resident or swapped out (RssAnon + VmSwap of "
     "/proc/<pid>/status)."},
    {208, "Avg. Disk sec/Read",
     "The average time, in seconds, that a read took between two samples: the difference of "
     "the milliseconds spent reading (field 7 of the device's line in /proc/diskstats) over "
     "the difference of the reads completed (field 4). The base counts the reads times "
     "10,000,000, the frequency of the time, so that the monitor's quotient of differences is "
     "in seconds."},
    {210, "Avg. Disk sec/Write",
     "The average time, in seconds, that a write took between two samples: the difference of "
     "the milliseconds spent writing (field 11 of the device's line in /proc/diskstats) over "
     "the difference of the writes completed (field 8). The base counts the writes times "
     "10,000,000, the frequency of the time, so that the monitor's quotient of differences is "
     "in seconds."},
    {214, "Disk Reads/sec",
     "The rate of read requests the device completed: field 4 of its line in /proc/diskstats. "
     "For a logical disk these are the figures of the device the file system lies on; a file "
     "system without one, such as tmpfs, shows 0."},
    {216, "Disk Writes/sec",
     "The rate of write requests the device completed: field 8 of its line in "
     "/proc/diskstats. For a logical disk these are the figures of the device the file system "
     "lies on; a file system without one, such as tmpfs, shows 0."},
    {220, "Disk Read Bytes/sec",
     "The rate at which bytes were read from the device: the sectors read, field 6 of its "
     "line in /proc/diskstats, times 512 (the kernel counts in 512-byte sectors whatever the "
     "device's own sector size)."},
    {222, "Disk Write Bytes/sec",
     "The rate at which bytes were written to the device: the sectors written, field 10 of "
     "its line in /proc/diskstats, times 512 (the kernel counts in 512-byte sectors whatever "
     "the device's own sector size)."},
    {230, "Process",
     "The Process object describes the programs running on this computer: one instance per "
     "process in /proc, named by the command name in /proc/<pid>/stat, in ascending order of "
     "process id, followed by the instance _Total with the sums over all processes. A process "
     "that ends while it is read is left out of the sample."},
    {232, "Thread",
     "The Thread object describes every thread of every process: one instance per thread, "
     "named <process name>/<thread id> after the process name in /proc/<pid>/stat and the "
     "thread's directory in /proc/<pid>/task, each process's main thread first, followed by "
     "_Total/_Total. Reading all threads is costly, so the object is only in a sample that "
     "asks for it by its index (232), not in Global."},
    {234, "PhysicalDisk",
     "The PhysicalDisk object describes the disks of the computer: one instance per whole "
     "disk backed by hardware (a device in /sys/block with a device link, so no partitions, "
     "loop, ram, zram, device-mapper or md devices), named by its number and its name (0 sda, "
     "1 nvme0n1, ...) in the order of /proc/diskstats, followed by _Total."},
    {236, "LogicalDisk",
     "The LogicalDisk object describes the mounted local file systems: one instance per mount "
     "point in /proc/self/mountinfo whose file system has a size (network, FUSE and automount "
     "file systems are left out), followed by _Total. The space comes from statvfs, the "
     "transfers from the /proc/diskstats line of the device the file system lies on."},
    {238, "Processor",
     "The Processor object describes the use of each logical processor: one instance per "
     "processor, named by the number Linux gives it (0, 1, ...), followed by the instance "
     "_Total with the average over all processors. The times come from the cpu lines of "
     "/proc/stat, the interrupts from /proc/interrupts."},
    {248, "Processes",
     "The number of processes on the computer at the moment of the sample: the process "
     "directories in /proc, kernel threads included."},
    {250, "Threads",
     "The number of threads on the computer at the moment of the sample, kernel threads "
     "included: the number after the slash in /proc/loadavg."},
    {264, "Bytes Received/sec",
     "The rate at which bytes arrived on the interface, link-level headers included: the "
     "first receive column (bytes) of its line in /proc/net/dev."},
    {266, "Packets Received/sec",
     "The rate at which packets arrived on the interface: the receive packets column of its "
     "line in /proc/net/dev."},
    {388, "Bytes Total/sec",
     "The rate at which bytes were sent and received on the interface together: the receive "
     "and transmit bytes columns of its line in /proc/net/dev."},
    {400, "Packets/sec",
     "The rate at which packets were sent and received on the interface together: the receive "
     "and transmit packets columns of its line in /proc/net/dev."},
    {452, "Packets Sent/sec",
     "The rate at which packets were sent on the interface: the transmit packets column of "
     "its line in /proc/net/dev."},
    {506, "Bytes Sent/sec",
     "The rate at which bytes were sent on the interface, link-level headers included: the "
     "transmit bytes column of its line in /proc/net/dev."},
    {510, "Network Interface",
     "The Network Interface object describes the traffic of each network interface of the "
     "computer: one instance per interface of /proc/net/dev except the loopback interface lo, "
     "named as Linux names it (eth0, wlan0, ...). The interfaces are those of the network "
     "namespace of the reading process."},
    {520, "Current Bandwidth",
     "The speed of the interface's link in bits per second: /sys/class/net/<name>/speed, "
     "which holds megabits per second, times 1,000,000. It is 0 where the speed is unknown "
     "(the file says -1 or cannot be read, as for most virtual interfaces)."},
    {540, "Packets Outbound Discarded",
     "The number of packets to send that the interface dropped without an error, for example "
     "for want of buffer space: the transmit drop column of its line in /proc/net/dev."},
    {542, "Packets Outbound Errors",
     "The number of packets the interface could not send because of an error: the transmit "
     "errs column of its line in /proc/net/dev."},
    {674, "System Up Time",
     "The time since the computer started, in seconds. The block holds the boot time as a "
     "file time, taken from the Linux boot-time clock; the up time is the object's time stamp "
     "minus that value."},
    {680, "Thread Count",
     "The number of threads of the process at the moment of the sample: num_threads of "
     "/proc/<pid>/stat."},
    {682, "Priority Base",
     "The base priority of the process or thread on the Windows scale: 8 for the normal nice "
     "value 0, rising to 13 for nice -20 and falling to 4 for nice 19 (nice of "
     "/proc/<pid>/stat, or of /proc/<pid>/task/<tid>/stat for a thread, which can have a nice "
     "value of its own)."},
    {684, "Elapsed Time",
     "The time the process or thread has been running, in seconds. The block holds its start "
     "as a file time, from starttime of /proc/<pid>/stat or /proc/<pid>/task/<tid>/stat; the "
     "elapsed time is the object's time stamp minus that value. For _Total it is the start of "
     "the oldest process or thread."},
    {698, "% Interrupt Time",
     "The percentage of elapsed time the processor spent handling hardware and software "
     "interrupts: irq + softirq of its cpu line in /proc/stat; _Total is the average over all "
     "processors."},
    {700, "Paging File",
     "The Paging File object describes the swap areas of the computer: one instance per area "
     "of /proc/swaps, named by its device or file, followed by _Total. Without swap only "
     "_Total is there, with 0%."},
    {702, "% Usage",
     "The share of the swap area in use, in percent: Used over Size of its line in "
     "/proc/swaps, both counted in bytes here."},
    {704, "% Usage Peak",
     "The largest share of the swap area in use seen since this program first read it, in "
     "percent of its size. Linux keeps no such peak, so it starts with the first sample; an "
     "area that is switched off loses it."},
    {784, "ID Process",
     "The process id, unique while the process runs; Linux may give it to a new process after "
     "this one has ended. For a thread: the id of the process it belongs to. _Total shows 0."},
    {804, "ID Thread",
     "The thread id: the number of the thread's directory in /proc/<pid>/task, unique while "
     "the thread runs. The main thread of a process has the process id. _Total shows 0."},
    {952, "Handle Count",
     "The number of file descriptors the process has open: the entries of /proc/<pid>/fd. It "
     "is 0 when that directory may not be read."},
    {1406, "% Committed Bytes In Use",
     "Committed Bytes as a percentage of Commit Limit, both from /proc/meminfo (Committed_AS "
     "and CommitLimit) and counted in MiB here. Under heuristic overcommit it may exceed "
     "100%."},
    {1407, "% Committed Bytes In Use Base",
     "The base of % Committed Bytes In Use: Commit Limit in MiB (CommitLimit of "
     "/proc/meminfo). It is not meant to be shown on its own."},
    {1410, "Creating Process ID",
     "The id of the parent process: ppid of /proc/<pid>/stat. When the parent ends, Linux "
     "gives the process a new parent (process 1 or the nearest subreaper), so unlike on "
     "Windows the value can change."},
    {1412, "IO Read Operations/sec",
     "The rate of the read system calls of the process (read, pread, readv and the like) on "
     "files, pipes, sockets and devices: syscr of /proc/<pid>/io. It is 0 when that file may "
     "not be read."},
    {1414, "IO Write Operations/sec",
     "The rate of the write system calls of the process (write, pwrite, writev and the like) "
     "on files, pipes, sockets and devices: syscw of /proc/<pid>/io. It is 0 when that file "
     "may not be read."},
    {1416, "IO Data Operations/sec",
     "The rate of the read and write system calls of the process together: syscr + syscw of "
     "/proc/<pid>/io. It is 0 when that file may not be read."},
    {1418, "IO Other Operations/sec",
     "The rate of the I/O operations of the process that neither read nor write data. Linux "
     "does not count them per process, so the value is always 0."},
    {1420, "IO Read Bytes/sec",
     "The rate at which the process reads bytes through read system calls, from the page "
     "cache, disks, pipes, sockets or devices alike: rchar of /proc/<pid>/io. It is 0 when "
     "that file may not be read."},
    {1422, "IO Write Bytes/sec",
     "The rate at which the process writes bytes through write system calls, to files, pipes, "
     "sockets or devices alike: wchar of /proc/<pid>/io. It is 0 when that file may not be "
     "read."},
    {1424, "IO Data Bytes/sec",
     "The rate at which the process reads and writes bytes together: rchar + wchar of "
     "/proc/<pid>/io. It is 0 when that file may not be read."},
    {1426, "IO Other Bytes/sec",
     "The rate of bytes moved by I/O operations of the process that neither read nor write "
     "data. Linux does not count them per process, so the value is always 0."},
    {1478, "Working Set - Private",
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

constexpr TNameText German[] = {
    {2, "System",
     "Das Objekt System enthält Zähler, die für den ganzen Computer gelten und nicht für einen "
     "einzelnen Prozessor oder Prozess. Unter Linux stammen sie aus /proc/stat, /proc/loadavg "
     "und der Liste der Prozessverzeichnisse in /proc."},
    {4, "Speicher",
     "Das Objekt Speicher beschreibt den physischen und den virtuellen Speicher des Computers: "
     "den für Programme verfügbaren Speicher, den ihnen zugesicherten Speicher mit seiner "
     "Grenze und die Seitenfehler. Unter Linux stammen die Werte aus /proc/meminfo und "
     "/proc/vmstat."},
    {6, "Prozessorzeit (%)",
     "Für einen Prozess oder Thread: der Anteil der verstrichenen Zeit in Prozent, in dem er "
     "einen Prozessor nutzte, im Benutzer- und im Kernelmodus zusammen (utime + stime aus "
     "/proc/<pid>/stat oder /proc/<pid>/task/<tid>/stat); ein Prozess mit mehreren Threads "
     "kann 100 % übersteigen. Für einen Prozessor: der Anteil der verstrichenen Zeit in "
     "Prozent, in dem er beschäftigt war, also 100 % abzüglich des Anteils, in dem er untätig "
     "war oder auf E/A wartete (idle + iowait seiner cpu-Zeile in /proc/stat); _Total ist der "
     "Mittelwert über alle Prozessoren."},
    {24, "Verfügbare Bytes",
     "Der physische Speicher in Bytes, der Programmen sofort gegeben werden kann, ohne etwas "
     "auszulagern: MemAvailable aus /proc/meminfo, die Schätzung des Kernels, die freien "
     "Speicher und die Caches zählt, die er zurückgewinnen kann."},
    {26, "Zugesicherte Bytes",
     "Der virtuelle Speicher in Bytes, den die Prozesse des Computers angefordert haben, "
     "gleich ob sie ihn schon benutzt haben oder nicht: Committed_AS aus /proc/meminfo."},
    {28, "Seitenfehler/s",
     "Die Rate der Seitenfehler: Zugriffe auf eine Speicherseite, die in diesem Augenblick "
     "nicht eingeblendet war, sowohl solche, die der Kernel ohne Lesen von der Platte behebt, "
     "als auch solche, die einen Lesevorgang brauchen. Für einen Prozess: minflt + majflt aus "
     "/proc/<pid>/stat; für den Speicher des Computers: pgfault aus /proc/vmstat. Der "
     "Datenblock enthält den Zählerstand seit dem Start; die Rate ergibt sich aus zwei "
     "Stichproben."},
    {30, "Zusagegrenze",
     "Der virtuelle Speicher in Bytes, der nach der strengen Overcommit-Regel des Kernels "
     "zugesichert werden kann: CommitLimit aus /proc/meminfo, der Auslagerungsbereich zuzüglich "
     "des eingestellten Anteils am physischen Speicher. Mit der voreingestellten heuristischen "
     "Regel können die zugesicherten Bytes sie übersteigen."},
    {44, "Prozessor-Warteschlangenlänge",
     "Die Zahl der Threads, die im Augenblick der Stichprobe laufen oder bereit sind zu "
     "laufen: procs_running aus /proc/stat. Anders als unter Windows zählen die Threads mit, "
     "die gerade auf einem Prozessor laufen."},
    {56, "Auslagerbarer Pool (Bytes)",
     "Der auslagerbare Kernelspeicher in Bytes, der dem Prozess angerechnet wird. Linux führt "
     "keinen solchen Pool je Prozess, daher ist der Wert immer 0."},
    {58, "Nicht auslagerbarer Pool (Bytes)",
     "Kernelspeicher in Bytes, den der Prozess belegt und der nicht ausgelagert werden kann. "
     "Unter Linux ist das die Größe der Seitentabellen des Prozesses: VmPTE aus "
     "/proc/<pid>/status."},
    {142, "Benutzerzeit (%)",
     "Der Anteil der verstrichenen Zeit in Prozent, der im Benutzermodus verbracht wurde, in "
     "dem Programme ihren eigenen Code ausführen. Für einen Prozess: utime aus "
     "/proc/<pid>/stat, über alle seine Threads; für einen Thread: utime aus "
     "/proc/<pid>/task/<tid>/stat. Für einen Prozessor: user + nice seiner cpu-Zeile in "
     "/proc/stat; _Total ist der Mittelwert über alle Prozessoren."},
    {144, "Privilegierte Zeit (%)",
     "Der Anteil der verstrichenen Zeit in Prozent, der im Kernelmodus verbracht wurde, mit "
     "Systemaufrufen und anderem Kernelcode. Für einen Prozess: stime aus /proc/<pid>/stat, "
     "über alle seine Threads; für einen Thread: stime aus /proc/<pid>/task/<tid>/stat. Für "
     "einen Prozessor: system seiner cpu-Zeile in /proc/stat; die Zeit für Interrupts zeigt "
     "stattdessen Interruptzeit (%)."},
    {146, "Kontextwechsel/s",
     "Die Rate, mit der die Prozessoren von einem Thread zu einem anderen wechselten. Für das "
     "System: ctxt aus /proc/stat, seit dem Systemstart über alle Prozessoren gezählt. Für "
     "einen Thread: die Wechsel weg von ihm, voluntary_ctxt_switches + "
     "nonvoluntary_ctxt_switches aus /proc/<pid>/task/<tid>/status. Die Rate ergibt sich aus "
     "zwei Stichproben."},
    {148, "Interrupts/s",
     "Die Rate der Hardware-Interrupts, die der Prozessor bearbeitet hat. Für einen Prozessor: "
     "die Summe seiner Spalte über die Zeilen von /proc/interrupts; für _Total: intr aus "
     "/proc/stat, das auch die Interrupts zählt, die keinem einzelnen Prozessor gehören."},
    {172, "Virtuelle Bytes (Spitze)",
     "Die größte Größe in Bytes, die der virtuelle Adressraum des Prozesses erreicht hat: "
     "VmPeak aus /proc/<pid>/status."},
    {174, "Virtuelle Bytes",
     "Die aktuelle Größe des virtuellen Adressraums des Prozesses in Bytes, einschließlich "
     "gemeinsam genutzter Bibliotheken und eingeblendeter Dateien: VmSize aus "
     "/proc/<pid>/status. Reservierter Adressraum belegt keinen Speicher, bis er benutzt wird."},
    {178, "Arbeitsseiten (Spitze)",
     "Die größte Menge an Arbeitsseiten in Bytes, die der Prozess hatte: VmHWM aus "
     "/proc/<pid>/status, der Höchststand seines residenten Speichers."},
    {180, "Arbeitsseiten",
     "Der Speicher des Prozesses in Bytes, der sich gerade im physischen Speicher befindet, "
     "einschließlich der Seiten, die er mit anderen Prozessen teilt: VmRSS aus "
     "/proc/<pid>/status."},
    {182, "Auslagerungsdatei-Bytes (Spitze)",
     "Der größte Wert von Auslagerungsdatei-Bytes, der für den Prozess gesehen wurde, seit "
     "dieses Programm ihn zum ersten Mal erfasst hat. Linux führt keinen solchen Höchstwert, "
     "daher beginnt er mit der ersten Stichprobe."},
    {184, "Auslagerungsdatei-Bytes",
     "Der Speicher in Bytes, den der Prozess für sich selbst angefordert hat und den der "
     "Auslagerungsbereich aufnehmen müsste, wenn er ausgelagert würde: sein anonymer "
     "residenter Speicher zuzüglich des bereits ausgelagerten Teils (RssAnon + VmSwap aus "
     "/proc/<pid>/status)."},
    {186, "Private Bytes",
     "Der Speicher in Bytes, der allein diesem Prozess gehört und nicht mit anderen Prozessen "
     "geteilt werden kann: sein anonymer Speicher, resident oder ausgelagert (RssAnon + VmSwap "
     "aus /proc/<pid>/status)."},
    {208, "Mittlere Sek./Lesevorgänge",
     "Die mittlere Dauer eines Lesevorgangs zwischen zwei Stichproben in Sekunden: die "
     "Differenz der mit Lesen verbrachten Millisekunden (Feld 7 der Zeile des Geräts in "
     "/proc/diskstats) durch die Differenz der abgeschlossenen Lesevorgänge (Feld 4). Die "
     "Basis zählt die Lesevorgänge mal 10.000.000, die Frequenz der Zeit, damit der Quotient "
     "der Differenzen, den der Monitor bildet, in Sekunden ist."},
    {210, "Mittlere Sek./Schreibvorgänge",
     "Die mittlere Dauer eines Schreibvorgangs zwischen zwei Stichproben in Sekunden: die "
     "Differenz der mit Schreiben verbrachten Millisekunden (Feld 11 der Zeile des Geräts in "
     "/proc/diskstats) durch die Differenz der abgeschlossenen Schreibvorgänge (Feld 8). Die "
     "Basis zählt die Schreibvorgänge mal 10.000.000, die Frequenz der Zeit, damit der "
     "Quotient der Differenzen, den der Monitor bildet, in Sekunden ist."},
    {214, "Lesevorgänge/s",
     "Die Rate der Leseanforderungen, die das Gerät abgeschlossen hat: Feld 4 seiner Zeile in "
     "/proc/diskstats. Für einen logischen Datenträger sind es die Werte des Geräts, auf dem "
     "das Dateisystem liegt; ein Dateisystem ohne Gerät, etwa tmpfs, zeigt 0."},
    {216, "Schreibvorgänge/s",
     "Die Rate der Schreibanforderungen, die das Gerät abgeschlossen hat: Feld 8 seiner Zeile "
     "in /proc/diskstats. Für einen logischen Datenträger sind es die Werte des Geräts, auf "
     "dem das Dateisystem liegt; ein Dateisystem ohne Gerät, etwa tmpfs, zeigt 0."},
    {220, "Bytes gelesen/s",
     "Die Rate, mit der Bytes vom Gerät gelesen wurden: die gelesenen Sektoren, Feld 6 seiner "
     "Zeile in /proc/diskstats, mal 512 (der Kernel zählt in Sektoren zu 512 Bytes, gleich "
     "welche Sektorgröße das Gerät hat)."},
    {222, "Bytes geschrieben/s",
     "Die Rate, mit der Bytes auf das Gerät geschrieben wurden: die geschriebenen Sektoren, "
     "Feld 10 seiner Zeile in /proc/diskstats, mal 512 (der Kernel zählt in Sektoren zu 512 "
     "Bytes, gleich welche Sektorgröße das Gerät hat)."},
    {230, "Prozess",
     "Das Objekt Prozess beschreibt die Programme, die auf diesem Computer laufen: eine "
     "Instanz je Prozess in /proc, benannt nach dem Befehlsnamen in /proc/<pid>/stat, "
     "aufsteigend nach Prozesskennung geordnet, gefolgt von der Instanz _Total mit den Summen "
     "über alle Prozesse. Ein Prozess, der während des Lesens endet, fehlt in der Stichprobe."},
    {232, "Thread",
     "Das Objekt Thread beschreibt jeden Thread jedes Prozesses: eine Instanz je Thread, "
     "benannt <Prozessname>/<Threadkennung> nach dem Prozessnamen in /proc/<pid>/stat und dem "
     "Verzeichnis des Threads in /proc/<pid>/task, der Hauptthread jedes Prozesses zuerst, "
     "gefolgt von _Total/_Total. Alle Threads zu lesen ist aufwendig, daher enthält nur eine "
     "Stichprobe das Objekt, die es über seinen Index (232) anfordert, nicht Global."},
    {234, "Physikalischer Datenträger",
     "Das Objekt Physikalischer Datenträger beschreibt die Platten des Computers: eine "
     "Instanz je ganzer Platte mit Hardware dahinter (ein Gerät in /sys/block mit "
     "device-Verweis, also keine Partitionen, loop-, ram-, zram-, Device-Mapper- oder "
     "md-Geräte), benannt nach ihrer Nummer und ihrem Namen (0 sda, 1 nvme0n1, ...) in der "
     "Reihenfolge von /proc/diskstats, gefolgt von _Total."},
    {236, "Logischer Datenträger",
     "Das Objekt Logischer Datenträger beschreibt die eingehängten lokalen Dateisysteme: eine "
     "Instanz je Einhängepunkt in /proc/self/mountinfo, dessen Dateisystem eine Größe hat "
     "(Netzwerk-, FUSE- und Automount-Dateisysteme fehlen), gefolgt von _Total. Der Platz "
     "stammt aus statvfs, die Übertragungen aus der Zeile in /proc/diskstats des Geräts, auf "
     "dem das Dateisystem liegt."},
    {238, "Prozessor",
     "Das Objekt Prozessor beschreibt die Auslastung jedes logischen Prozessors: eine Instanz "
     "je Prozessor, benannt nach der Nummer, die Linux ihm gibt (0, 1, ...), gefolgt von der "
     "Instanz _Total mit dem Mittelwert über alle Prozessoren. Die Zeiten stammen aus den "
     "cpu-Zeilen von /proc/stat, die Interrupts aus /proc/interrupts."},
    {248, "Prozesse",
     "Die Zahl der Prozesse auf dem Computer im Augenblick der Stichprobe: die "
     "Prozessverzeichnisse in /proc, Kernelthreads eingeschlossen."},
    {250, "Threads",
     "Die Zahl der Threads auf dem Computer im Augenblick der Stichprobe, Kernelthreads "
     "eingeschlossen: die Zahl nach dem Schrägstrich in /proc/loadavg."},
    {264, "Empfangene Bytes/s",
     "Die Rate, mit der Bytes an der Schnittstelle ankamen, einschließlich der Header der "
     "Verbindungsschicht: die erste Empfangsspalte (bytes) ihrer Zeile in /proc/net/dev."},
    {266, "Empfangene Pakete/s",
     "Die Rate, mit der Pakete an der Schnittstelle ankamen: die Empfangsspalte packets ihrer "
     "Zeile in /proc/net/dev."},
    {388, "Bytes gesamt/s",
     "Die Rate, mit der Bytes an der Schnittstelle gesendet und empfangen wurden, zusammen: "
     "die Spalten bytes für Empfang und Senden ihrer Zeile in /proc/net/dev."},
    {400, "Pakete/s",
     "Die Rate, mit der Pakete an der Schnittstelle gesendet und empfangen wurden, zusammen: "
     "die Spalten packets für Empfang und Senden ihrer Zeile in /proc/net/dev."},
    {452, "Gesendete Pakete/s",
     "Die Rate, mit der Pakete über die Schnittstelle gesendet wurden: die Sendespalte "
     "packets ihrer Zeile in /proc/net/dev."},
    {506, "Gesendete Bytes/s",
     "Die Rate, mit der Bytes über die Schnittstelle gesendet wurden, einschließlich der "
     "Header der Verbindungsschicht: die Sendespalte bytes ihrer Zeile in /proc/net/dev."},
    {510, "Netzwerkschnittstelle",
     "Das Objekt Netzwerkschnittstelle beschreibt den Verkehr jeder Netzwerkschnittstelle des "
     "Computers: eine Instanz je Schnittstelle in /proc/net/dev außer der "
     "Loopback-Schnittstelle lo, benannt wie unter Linux (eth0, wlan0, ...). Es sind die "
     "Schnittstellen des Netzwerk-Namensraums des lesenden Prozesses."},
    {520, "Aktuelle Bandbreite",
     "Die Geschwindigkeit der Verbindung der Schnittstelle in Bit pro Sekunde: "
     "/sys/class/net/<name>/speed, das Megabit pro Sekunde enthält, mal 1.000.000. Sie ist 0, "
     "wo die Geschwindigkeit unbekannt ist (die Datei sagt -1 oder kann nicht gelesen werden, "
     "wie bei den meisten virtuellen Schnittstellen)."},
    {540, "Verworfene ausgehende Pakete",
     "Die Zahl der zu sendenden Pakete, die die Schnittstelle ohne Fehler verworfen hat, etwa "
     "mangels Pufferplatz: die Sendespalte drop ihrer Zeile in /proc/net/dev."},
    {542, "Ausgehende Pakete, Fehler",
     "Die Zahl der Pakete, die die Schnittstelle wegen eines Fehlers nicht senden konnte: die "
     "Sendespalte errs ihrer Zeile in /proc/net/dev."},
    {674, "Systembetriebszeit",
     "Die Zeit seit dem Start des Computers in Sekunden. Der Datenblock enthält den "
     "Startzeitpunkt als Dateizeit, abgeleitet von der Boot-Uhr von Linux; die Betriebszeit "
     "ist der Zeitstempel des Objekts abzüglich dieses Werts."},
    {680, "Threadanzahl",
     "Die Zahl der Threads des Prozesses im Augenblick der Stichprobe: num_threads aus "
     "/proc/<pid>/stat."},
    {682, "Basispriorität",
     "Die Basispriorität des Prozesses oder Threads auf der Skala von Windows: 8 für den "
     "normalen Nice-Wert 0, steigend bis 13 für Nice -20 und fallend bis 4 für Nice 19 (nice "
     "aus /proc/<pid>/stat, für einen Thread aus /proc/<pid>/task/<tid>/stat, da ein Thread "
     "einen eigenen Nice-Wert haben kann)."},
    {684, "Verstrichene Zeit",
     "Die Zeit in Sekunden, die der Prozess oder Thread schon läuft. Der Datenblock enthält "
     "seinen Start als Dateizeit, aus starttime in /proc/<pid>/stat oder "
     "/proc/<pid>/task/<tid>/stat; die verstrichene Zeit ist der Zeitstempel des Objekts "
     "abzüglich dieses Werts. Für _Total ist es der Start des ältesten Prozesses oder "
     "Threads."},
    {698, "Interruptzeit (%)",
     "Der Anteil der verstrichenen Zeit in Prozent, den der Prozessor mit der Bearbeitung von "
     "Hardware- und Software-Interrupts verbrachte: irq + softirq seiner cpu-Zeile in "
     "/proc/stat; _Total ist der Mittelwert über alle Prozessoren."},
    {700, "Auslagerungsdatei",
     "Das Objekt Auslagerungsdatei beschreibt die Auslagerungsbereiche des Computers: eine "
     "Instanz je Bereich in /proc/swaps, benannt nach seinem Gerät oder seiner Datei, gefolgt "
     "von _Total. Ohne Auslagerungsbereich gibt es nur _Total, mit 0 %."},
    {702, "Belegung (%)",
     "Der belegte Anteil des Auslagerungsbereichs in Prozent: Used durch Size seiner Zeile in "
     "/proc/swaps, hier beide in Bytes gezählt."},
    {704, "Maximale Belegung (%)",
     "Der größte belegte Anteil des Auslagerungsbereichs, der gesehen wurde, seit dieses "
     "Programm ihn zum ersten Mal gelesen hat, in Prozent seiner Größe. Linux führt keinen "
     "solchen Höchstwert, daher beginnt er mit der ersten Stichprobe; ein abgeschalteter "
     "Bereich verliert ihn."},
    {784, "Prozesskennung",
     "Die Kennung des Prozesses, eindeutig, solange er läuft; Linux kann sie nach seinem Ende "
     "einem neuen Prozess geben. Für einen Thread: die Kennung des Prozesses, zu dem er "
     "gehört. _Total zeigt 0."},
    {804, "Threadkennung",
     "Die Kennung des Threads: die Nummer seines Verzeichnisses in /proc/<pid>/task, "
     "eindeutig, solange er läuft. Der Hauptthread eines Prozesses hat die Prozesskennung. "
     "_Total zeigt 0."},
    {952, "Handleanzahl",
     "Die Zahl der Dateideskriptoren, die der Prozess geöffnet hat: die Einträge von "
     "/proc/<pid>/fd. Sie ist 0, wenn dieses Verzeichnis nicht gelesen werden darf."},
    {1406, "Zugesicherte verwendete Bytes (%)",
     "Die zugesicherten Bytes in Prozent der Zusagegrenze, beide aus /proc/meminfo "
     "(Committed_AS und CommitLimit) und hier in MiB gezählt. Mit der heuristischen "
     "Overcommit-Regel kann der Wert 100 % übersteigen."},
    {1407, "Zugesicherte verwendete Bytes (%), Basis",
     "Die Basis von Zugesicherte verwendete Bytes (%): die Zusagegrenze in MiB (CommitLimit "
     "aus /proc/meminfo). Sie ist nicht dazu gedacht, für sich allein angezeigt zu werden."},
    {1410, "Erstellende Prozesskennung",
     "Die Kennung des Elternprozesses: ppid aus /proc/<pid>/stat. Endet der Elternprozess, "
     "gibt Linux dem Prozess einen neuen (Prozess 1 oder den nächsten Subreaper), daher kann "
     "sich der Wert anders als unter Windows ändern."},
    {1412, "E/A-Lesevorgänge/s",
     "Die Rate der Lese-Systemaufrufe des Prozesses (read, pread, readv und verwandte) auf "
     "Dateien, Pipes, Sockets und Geräten: syscr aus /proc/<pid>/io. Sie ist 0, wenn diese "
     "Datei nicht gelesen werden darf."},
    {1414, "E/A-Schreibvorgänge/s",
     "Die Rate der Schreib-Systemaufrufe des Prozesses (write, pwrite, writev und verwandte) "
     "auf Dateien, Pipes, Sockets und Geräten: syscw aus /proc/<pid>/io. Sie ist 0, wenn diese "
     "Datei nicht gelesen werden darf."},
    {1416, "E/A-Datenvorgänge/s",
     "Die Rate der Lese- und Schreib-Systemaufrufe des Prozesses zusammen: syscr + syscw aus "
     "/proc/<pid>/io. Sie ist 0, wenn diese Datei nicht gelesen werden darf."},
    {1418, "Andere E/A-Vorgänge/s",
     "Die Rate der E/A-Vorgänge des Prozesses, die weder Daten lesen noch schreiben. Linux "
     "zählt sie nicht je Prozess, daher ist der Wert immer 0."},
    {1420, "E/A-Lesebytes/s",
     "Die Rate, mit der der Prozess Bytes über Lese-Systemaufrufe liest, gleich ob aus dem "
     "Seitencache, von Platten, Pipes, Sockets oder Geräten: rchar aus /proc/<pid>/io. Sie ist "
     "0, wenn diese Datei nicht gelesen werden darf."},
    {1422, "E/A-Schreibbytes/s",
     "Die Rate, mit der der Prozess Bytes über Schreib-Systemaufrufe schreibt, gleich ob in "
     "Dateien, Pipes, Sockets oder Geräte: wchar aus /proc/<pid>/io. Sie ist 0, wenn diese "
     "Datei nicht gelesen werden darf."},
    {1424, "E/A-Datenbytes/s",
     "Die Rate, mit der der Prozess Bytes liest und schreibt, zusammengenommen: rchar + wchar "
     "aus /proc/<pid>/io. Sie ist 0, wenn diese Datei nicht gelesen werden darf."},
    {1426, "Andere E/A-Bytes/s",
     "Die Rate der Bytes, die E/A-Vorgänge des Prozesses bewegen, die weder Daten lesen noch "
     "schreiben. Linux zählt sie nicht je Prozess, daher ist der Wert immer 0."},
    {1478, "Arbeitsseiten (privat)",
     "Der Teil der Arbeitsseiten in Bytes, der allein dem Prozess gehört und nicht mit anderen "
     "Prozessen geteilt wird: RssAnon aus /proc/<pid>/status, sein residenter anonymer "
     "Speicher."},
    {ThreadStateIndex, "Threadstatus",
     "Der Zustand des Threads in der Nummerierung von Windows, aus dem Zustandsbuchstaben in "
     "/proc/<pid>/task/<tid>/stat: 2 (läuft) für R, laufend oder bereit; 5 (wartet) für S, D, "
     "I, T, t, P, K und W, die Arten zu schlafen oder angehalten zu sein; 4 (beendet) für Z "
     "und X; 7 (unbekannt) für jeden anderen Buchstaben."},
    {DiskTransfersIndex, "Übertragungen/s",
     "Die Rate der Lese- und Schreibanforderungen, die das Gerät abgeschlossen hat, zusammen: "
     "Felder 4 und 8 seiner Zeile in /proc/diskstats."},
    {DiskBytesIndex, "Bytes/s",
     "Die Rate, mit der Bytes vom Gerät gelesen und darauf geschrieben wurden, zusammen: die "
     "Sektoren der Felder 6 und 10 seiner Zeile in /proc/diskstats, mal 512."},
    {AvgDiskSecPerReadBaseIndex, "Mittlere Sek./Lesevorgänge, Basis",
     "Die Basis von Mittlere Sek./Lesevorgänge: die abgeschlossenen Lesevorgänge (Feld 4 aus "
     "/proc/diskstats) mal 10.000.000. Sie ist nicht dazu gedacht, für sich allein angezeigt "
     "zu werden."},
    {AvgDiskSecPerWriteBaseIndex, "Mittlere Sek./Schreibvorgänge, Basis",
     "Die Basis von Mittlere Sek./Schreibvorgänge: die abgeschlossenen Schreibvorgänge (Feld "
     "8 aus /proc/diskstats) mal 10.000.000. Sie ist nicht dazu gedacht, für sich allein "
     "angezeigt zu werden."},
    {CurrentDiskQueueLengthIndex, "Aktuelle Warteschlangenlänge",
     "Die Zahl der Anforderungen, die im Augenblick der Stichprobe am Gerät in Arbeit sind, "
     "die gerade bedienten eingeschlossen: Feld 12 seiner Zeile in /proc/diskstats."},
    {DiskTimeIndex, "Datenträgerzeit (%)",
     "Der Anteil der verstrichenen Zeit in Prozent, in dem das Gerät beschäftigt war, mit "
     "mindestens einer Anforderung in Arbeit: die Millisekunden mit E/A, Feld 13 seiner Zeile "
     "in /proc/diskstats (was iostat als %util zeigt). _Total ist der Mittelwert über die "
     "Platten oder Dateisysteme."},
    {IdleTimeIndex, "Leerlaufzeit (%)",
     "Der Anteil der verstrichenen Zeit in Prozent, in dem das Gerät keine Anforderung in "
     "Arbeit hatte: 100 % abzüglich Datenträgerzeit (%), aus Feld 13 seiner Zeile in "
     "/proc/diskstats. _Total ist der Mittelwert über die Platten oder Dateisysteme."},
    {FreeSpaceIndex, "Freier Speicherplatz (%)",
     "Der für Programme verfügbare Platz in Prozent des belegten und verfügbaren Platzes des "
     "Dateisystems, beide aus statvfs (f_bavail sowie f_blocks - f_bfree + f_bavail), also "
     "100 % abzüglich dessen, was df als Use% zeigt. Für den Superuser reservierte Blöcke "
     "zählen bei keinem mit."},
    {FreeSpaceBaseIndex, "Freier Speicherplatz (%), Basis",
     "Die Basis von Freier Speicherplatz (%): die belegten und die für Programme verfügbaren "
     "Bytes des Dateisystems, aus statvfs. Sie ist nicht dazu gedacht, für sich allein "
     "angezeigt zu werden."},
    {FreeMegabytesIndex, "Freie Megabytes",
     "Der für Programme verfügbare Platz des Dateisystems in MiB (1.048.576 Bytes): f_bavail "
     "mal f_frsize aus statvfs, wie df ihn unter Avail zeigt."},
    {PacketsReceivedErrorsIndex, "Empfangene Pakete, Fehler",
     "Die Zahl der Pakete, die mit einem Fehler (falsche Prüfsumme, falsche Länge und "
     "dergleichen) an der Schnittstelle ankamen: die Empfangsspalte errs ihrer Zeile in "
     "/proc/net/dev."},
    {PacketsReceivedDiscardedIndex, "Verworfene empfangene Pakete",
     "Die Zahl der Pakete, die an der Schnittstelle ankamen und ohne Fehler verworfen wurden, "
     "etwa mangels Pufferplatz: die Empfangsspalte drop ihrer Zeile in /proc/net/dev."},
    {UsageBaseIndex, "Belegung (%), Basis",
     "Die Basis von Belegung (%): die Größe des Auslagerungsbereichs in Bytes (Size aus "
     "/proc/swaps). Sie ist nicht dazu gedacht, für sich allein angezeigt zu werden."},
    {UsagePeakBaseIndex, "Maximale Belegung (%), Basis",
     "Die Basis von Maximale Belegung (%): die Größe des Auslagerungsbereichs in Bytes (Size "
     "aus /proc/swaps). Sie ist nicht dazu gedacht, für sich allein angezeigt zu werden."},
};

TPerfLocaleNames LocaleNames(const char* Locale, std::span<const TNameText> Texts) {
  TPerfLocaleNames Names{Locale, {}, {}};
  for (const TNameText& Text : Texts) {
    Names.Counter.push_back({Text.Index, Text.Title});
    Names.Help.push_back({Text.Index + 1, Text.Help});
  }
  return Names;
}

}  // namespace

std::vector<TPerfLocaleNames> ProcNames() {
  return {LocaleNames("009", English), LocaleNames("007", German)};
}

}  // namespace gaugery
