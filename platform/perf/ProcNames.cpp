#include "perf/ProcNames.h"

#include <span>

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
     "For a process: the percentage of elapsed time that its threads used a processor, in user "
     "and kernel mode together (utime + stime of /proc/<pid>/stat); on a computer with several "
     "processors it can exceed 100%. For a processor: the percentage of elapsed time it was "
     "busy, that is 100% minus the share it spent idle or waiting for I/O (idle + iowait of its "
     "cpu line in /proc/stat); _Total is the average over all processors."},
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
     "For a process: utime of /proc/<pid>/stat, over all its threads. For a processor: user + "
     "nice of its cpu line in /proc/stat; _Total is the average over all processors."},
    {144, "% Privileged Time",
     "The percentage of elapsed time spent in kernel mode, running system calls and other "
     "kernel code. For a process: stime of /proc/<pid>/stat, over all its threads. For a "
     "processor: system of its cpu line in /proc/stat; the time spent on interrupts is shown "
     "by % Interrupt Time instead."},
    {146, "Context Switches/sec",
     "The rate at which the processors switched from one thread to another: ctxt of "
     "/proc/stat, counted since boot over all processors. The rate comes from two samples."},
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
    {230, "Process",
     "The Process object describes the programs running on this computer: one instance per "
     "process in /proc, named by the command name in /proc/<pid>/stat, in ascending order of "
     "process id, followed by the instance _Total with the sums over all processes. A process "
     "that ends while it is read is left out of the sample."},
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
    {674, "System Up Time",
     "The time since the computer started, in seconds. The block holds the boot time as a "
     "file time, taken from the Linux boot-time clock; the up time is the object's time stamp "
     "minus that value."},
    {680, "Thread Count",
     "The number of threads of the process at the moment of the sample: num_threads of "
     "/proc/<pid>/stat."},
    {682, "Priority Base",
     "The base priority of the process on the Windows scale: 8 for the normal nice value 0, "
     "rising to 13 for nice -20 and falling to 4 for nice 19 (nice of /proc/<pid>/stat)."},
    {684, "Elapsed Time",
     "The time the process has been running, in seconds. The block holds its start as a file "
     "time, from starttime of /proc/<pid>/stat; the elapsed time is the object's time stamp "
     "minus that value. For _Total it is the start of the oldest process."},
    {698, "% Interrupt Time",
     "The percentage of elapsed time the processor spent handling hardware and software "
     "interrupts: irq + softirq of its cpu line in /proc/stat; _Total is the average over all "
     "processors."},
    {784, "ID Process",
     "The process id, unique while the process runs; Linux may give it to a new process after "
     "this one has ended. _Total shows 0."},
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
     "Für einen Prozess: der Anteil der verstrichenen Zeit in Prozent, in dem seine Threads "
     "einen Prozessor nutzten, im Benutzer- und im Kernelmodus zusammen (utime + stime aus "
     "/proc/<pid>/stat); auf einem Computer mit mehreren Prozessoren kann er 100 % übersteigen. "
     "Für einen Prozessor: der Anteil der verstrichenen Zeit in Prozent, in dem er beschäftigt "
     "war, also 100 % abzüglich des Anteils, in dem er untätig war oder auf E/A wartete (idle + "
     "iowait seiner cpu-Zeile in /proc/stat); _Total ist der Mittelwert über alle Prozessoren."},
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
     "/proc/<pid>/stat, über alle seine Threads. Für einen Prozessor: user + nice seiner "
     "cpu-Zeile in /proc/stat; _Total ist der Mittelwert über alle Prozessoren."},
    {144, "Privilegierte Zeit (%)",
     "Der Anteil der verstrichenen Zeit in Prozent, der im Kernelmodus verbracht wurde, mit "
     "Systemaufrufen und anderem Kernelcode. Für einen Prozess: stime aus /proc/<pid>/stat, "
     "über alle seine Threads. Für einen Prozessor: system seiner cpu-Zeile in /proc/stat; die "
     "Zeit für Interrupts zeigt stattdessen Interruptzeit (%)."},
    {146, "Kontextwechsel/s",
     "Die Rate, mit der die Prozessoren von einem Thread zu einem anderen wechselten: ctxt aus "
     "/proc/stat, seit dem Systemstart über alle Prozessoren gezählt. Die Rate ergibt sich aus "
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
    {230, "Prozess",
     "Das Objekt Prozess beschreibt die Programme, die auf diesem Computer laufen: eine "
     "Instanz je Prozess in /proc, benannt nach dem Befehlsnamen in /proc/<pid>/stat, "
     "aufsteigend nach Prozesskennung geordnet, gefolgt von der Instanz _Total mit den Summen "
     "über alle Prozesse. Ein Prozess, der während des Lesens endet, fehlt in der Stichprobe."},
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
    {674, "Systembetriebszeit",
     "Die Zeit seit dem Start des Computers in Sekunden. Der Datenblock enthält den "
     "Startzeitpunkt als Dateizeit, abgeleitet von der Boot-Uhr von Linux; die Betriebszeit "
     "ist der Zeitstempel des Objekts abzüglich dieses Werts."},
    {680, "Threadanzahl",
     "Die Zahl der Threads des Prozesses im Augenblick der Stichprobe: num_threads aus "
     "/proc/<pid>/stat."},
    {682, "Basispriorität",
     "Die Basispriorität des Prozesses auf der Skala von Windows: 8 für den normalen "
     "Nice-Wert 0, steigend bis 13 für Nice -20 und fallend bis 4 für Nice 19 (nice aus "
     "/proc/<pid>/stat)."},
    {684, "Verstrichene Zeit",
     "Die Zeit in Sekunden, die der Prozess schon läuft. Der Datenblock enthält seinen Start "
     "als Dateizeit, aus starttime in /proc/<pid>/stat; die verstrichene Zeit ist der "
     "Zeitstempel des Objekts abzüglich dieses Werts. Für _Total ist es der Start des ältesten "
     "Prozesses."},
    {698, "Interruptzeit (%)",
     "Der Anteil der verstrichenen Zeit in Prozent, den der Prozessor mit der Bearbeitung von "
     "Hardware- und Software-Interrupts verbrachte: irq + softirq seiner cpu-Zeile in "
     "/proc/stat; _Total ist der Mittelwert über alle Prozessoren."},
    {784, "Prozesskennung",
     "Die Kennung des Prozesses, eindeutig, solange er läuft; Linux kann sie nach seinem Ende "
     "einem neuen Prozess geben. _Total zeigt 0."},
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
