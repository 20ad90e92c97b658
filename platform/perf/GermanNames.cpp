#include "perf/GermanNames.h"

#include "perf/TitleIndexes.h"

namespace gaugery {

namespace {

constexpr TNameText Texts[] = {
    {SystemObjectIndex, "System",
     "Das Objekt System enthält Zähler, die für den ganzen Computer gelten und nicht für einen "
     "einzelnen Prozessor oder Prozess. Unter Linux stammen sie aus /proc/stat, /proc/loadavg "
     "und der Liste der Prozessverzeichnisse in /proc."},
    {MemoryObjectIndex, "Speicher",
     "Das Objekt Speicher beschreibt den physischen und den virtuellen Speicher des Computers: "
     "den für Programme verfügbaren Speicher, den ihnen zugesicherten Speicher mit seiner "
     "Grenze und die Seitenfehler. Unter Linux stammen die Werte aus /proc/meminfo und "
     "/proc/vmstat."},
    {ProcessorTimeIndex, "Prozessorzeit (%)",
     "Für einen Prozess oder Thread: der Anteil der verstrichenen Zeit in Prozent, in dem er "
     "einen Prozessor nutzte, im Benutzer- und im Kernelmodus zusammen (utime + stime aus "
     "/proc/<pid>/stat oder /proc/<pid>/task/<tid>/stat); ein Prozess mit mehreren Threads "
     "kann 100 % übersteigen. Für einen Prozessor: der Anteil der verstrichenen Zeit in "
     "Prozent, in dem er beschäftigt war, also 100 % abzüglich des Anteils, in dem er untätig "
     "war oder auf E/A wartete (idle + iowait seiner cpu-Zeile in /proc/stat); _Total ist der "
     "Mittelwert über alle Prozessoren."},
    {AvailableBytesIndex, "Verfügbare Bytes",
     "Der physische Speicher in Bytes, der Programmen sofort gegeben werden kann, ohne etwas "
     "auszulagern: MemAvailable aus /proc/meminfo, die Schätzung des Kernels, die freien "
     "Speicher und die Caches zählt, die er zurückgewinnen kann."},
    {CommittedBytesIndex, "Zugesicherte Bytes",
     "Der virtuelle Speicher in Bytes, den die Prozesse des Computers angefordert haben, "
     "gleich ob sie ihn schon benutzt haben oder nicht: Committed_AS aus /proc/meminfo."},
    {PageFaultsIndex, "Seitenfehler/s",
     "Die Rate der Seitenfehler: Zugriffe auf eine Speicherseite, die in diesem Augenblick "
     "nicht eingeblendet war, sowohl solche, die der Kernel ohne Lesen von der Platte behebt, "
     "als auch solche, die einen Lesevorgang brauchen. Für einen Prozess: minflt + majflt aus "
     "/proc/<pid>/stat; für den Speicher des Computers: pgfault aus /proc/vmstat. Der "
     "Datenblock enthält den Zählerstand seit dem Start; die Rate ergibt sich aus zwei "
     "Stichproben."},
    {CommitLimitIndex, "Zusagegrenze",
     "Der virtuelle Speicher in Bytes, der nach der strengen Overcommit-Regel des Kernels "
     "zugesichert werden kann: CommitLimit aus /proc/meminfo, der Auslagerungsbereich zuzüglich "
     "des eingestellten Anteils am physischen Speicher. Mit der voreingestellten heuristischen "
     "Regel können die zugesicherten Bytes sie übersteigen."},
    {ProcessorQueueLengthIndex, "Prozessor-Warteschlangenlänge",
     "Die Zahl der Threads, die im Augenblick der Stichprobe laufen oder bereit sind zu "
     "laufen: procs_running aus /proc/stat. Anders als unter Windows zählen die Threads mit, "
     "die gerade auf einem Prozessor laufen."},
    {PoolPagedBytesIndex, "Auslagerbarer Pool (Bytes)",
     "Der auslagerbare Kernelspeicher in Bytes, der dem Prozess angerechnet wird. Linux führt "
     "keinen solchen Pool je Prozess, daher ist der Wert immer 0."},
    {PoolNonpagedBytesIndex, "Nicht auslagerbarer Pool (Bytes)",
     "Kernelspeicher in Bytes, den der Prozess belegt und der nicht ausgelagert werden kann. "
     "Unter Linux ist das die Größe der Seitentabellen des Prozesses: VmPTE aus "
     "/proc/<pid>/status."},
    {UserTimeIndex, "Benutzerzeit (%)",
     "Der Anteil der verstrichenen Zeit in Prozent, der im Benutzermodus verbracht wurde, in "
     "dem Programme ihren eigenen Code ausführen. Für einen Prozess: utime aus "
     "/proc/<pid>/stat, über alle seine Threads; für einen Thread: utime aus "
     "/proc/<pid>/task/<tid>/stat. Für einen Prozessor: user + nice seiner cpu-Zeile in "
     "/proc/stat; _Total ist der Mittelwert über alle Prozessoren."},
    {PrivilegedTimeIndex, "Privilegierte Zeit (%)",
     "Der Anteil der verstrichenen Zeit in Prozent, der im Kernelmodus verbracht wurde, mit "
     "Systemaufrufen und anderem Kernelcode. Für einen Prozess: stime aus /proc/<pid>/stat, "
     "über alle seine Threads; für einen Thread: stime aus /proc/<pid>/task/<tid>/stat. Für "
     "einen Prozessor: system seiner cpu-Zeile in /proc/stat; die Zeit für Interrupts zeigt "
     "stattdessen Interruptzeit (%)."},
    {ContextSwitchesIndex, "Kontextwechsel/s",
     "Die Rate, mit der die Prozessoren von einem Thread zu einem anderen wechselten. Für das "
     "System: ctxt aus /proc/stat, seit dem Systemstart über alle Prozessoren gezählt. Für "
     "einen Thread: die Wechsel weg von ihm, voluntary_ctxt_switches + "
     "nonvoluntary_ctxt_switches aus /proc/<pid>/task/<tid>/status. Die Rate ergibt sich aus "
     "zwei Stichproben."},
    {InterruptsIndex, "Interrupts/s",
     "Die Rate der Hardware-Interrupts, die der Prozessor bearbeitet hat. Für einen Prozessor: "
     "die Summe seiner Spalte über die Zeilen von /proc/interrupts; für _Total: intr aus "
     "/proc/stat, das auch die Interrupts zählt, die keinem einzelnen Prozessor gehören."},
    {VirtualBytesPeakIndex, "Virtuelle Bytes (Spitze)",
     "Die größte Größe in Bytes, die der virtuelle Adressraum des Prozesses erreicht hat: "
     "VmPeak aus /proc/<pid>/status."},
    {VirtualBytesIndex, "Virtuelle Bytes",
     "Die aktuelle Größe des virtuellen Adressraums des Prozesses in Bytes, einschließlich "
     "gemeinsam genutzter Bibliotheken und eingeblendeter Dateien: VmSize aus "
     "/proc/<pid>/status. Reservierter Adressraum belegt keinen Speicher, bis er benutzt wird."},
    {WorkingSetPeakIndex, "Arbeitsseiten (Spitze)",
     "Die größte Menge an Arbeitsseiten in Bytes, die der Prozess hatte: VmHWM aus "
     "/proc/<pid>/status, der Höchststand seines residenten Speichers."},
    {WorkingSetIndex, "Arbeitsseiten",
     "Der Speicher des Prozesses in Bytes, der sich gerade im physischen Speicher befindet, "
     "einschließlich der Seiten, die er mit anderen Prozessen teilt: VmRSS aus "
     "/proc/<pid>/status."},
    {PageFileBytesPeakIndex, "Auslagerungsdatei-Bytes (Spitze)",
     "Der größte Wert von Auslagerungsdatei-Bytes, der für den Prozess gesehen wurde, seit "
     "dieses Programm ihn zum ersten Mal erfasst hat. Linux führt keinen solchen Höchstwert, "
     "daher beginnt er mit der ersten Stichprobe."},
    {PageFileBytesIndex, "Auslagerungsdatei-Bytes",
     "Der Speicher in Bytes, den der Prozess für sich selbst angefordert hat und den der "
     "Auslagerungsbereich aufnehmen müsste, wenn er ausgelagert würde: sein anonymer "
     "residenter Speicher zuzüglich des bereits ausgelagerten Teils (RssAnon + VmSwap aus "
     "/proc/<pid>/status)."},
    {PrivateBytesIndex, "Private Bytes",
     "Der Speicher in Bytes, der allein diesem Prozess gehört und nicht mit anderen Prozessen "
     "geteilt werden kann: sein anonymer Speicher, resident oder ausgelagert (RssAnon + VmSwap "
     "aus /proc/<pid>/status)."},
    {AvgDiskSecPerReadIndex, "Mittlere Sek./Lesevorgänge",
     "Die mittlere Dauer eines Lesevorgangs zwischen zwei Stichproben in Sekunden: die "
     "Differenz der mit Lesen verbrachten Millisekunden (Feld 7 der Zeile des Geräts in "
     "/proc/diskstats) durch die Differenz der abgeschlossenen Lesevorgänge (Feld 4). Die "
     "Basis zählt die Lesevorgänge mal 10.000.000, die Frequenz der Zeit, damit der Quotient "
     "der Differenzen, den der Monitor bildet, in Sekunden ist."},
    {AvgDiskSecPerWriteIndex, "Mittlere Sek./Schreibvorgänge",
     "Die mittlere Dauer eines Schreibvorgangs zwischen zwei Stichproben in Sekunden: die "
     "Differenz der mit Schreiben verbrachten Millisekunden (Feld 11 der Zeile des Geräts in "
     "/proc/diskstats) durch die Differenz der abgeschlossenen Schreibvorgänge (Feld 8). Die "
     "Basis zählt die Schreibvorgänge mal 10.000.000, die Frequenz der Zeit, damit der "
     "Quotient der Differenzen, den der Monitor bildet, in Sekunden ist."},
    {DiskReadsIndex, "Lesevorgänge/s",
     "Die Rate der Leseanforderungen, die das Gerät abgeschlossen hat: Feld 4 seiner Zeile in "
     "/proc/diskstats. Für einen logischen Datenträger sind es die Werte des Geräts, auf dem "
     "das Dateisystem liegt; ein Dateisystem ohne Gerät, etwa tmpfs, zeigt 0."},
    {DiskWritesIndex, "Schreibvorgänge/s",
     "Die Rate der Schreibanforderungen, die das Gerät abgeschlossen hat: Feld 8 seiner Zeile "
     "in /proc/diskstats. Für einen logischen Datenträger sind es die Werte des Geräts, auf "
     "dem das Dateisystem liegt; ein Dateisystem ohne Gerät, etwa tmpfs, zeigt 0."},
    {DiskReadBytesIndex, "Bytes gelesen/s",
     "Die Rate, mit der Bytes vom Gerät gelesen wurden: die gelesenen Sektoren, Feld 6 seiner "
     "Zeile in /proc/diskstats, mal 512 (der Kernel zählt in Sektoren zu 512 Bytes, gleich "
     "welche Sektorgröße das Gerät hat)."},
    {DiskWriteBytesIndex, "Bytes geschrieben/s",
     "Die Rate, mit der Bytes auf das Gerät geschrieben wurden: die geschriebenen Sektoren, "
     "Feld 10 seiner Zeile in /proc/diskstats, mal 512 (der Kernel zählt in Sektoren zu 512 "
     "Bytes, gleich welche Sektorgröße das Gerät hat)."},
    {ProcessObjectIndex, "Prozess",
     "Das Objekt Prozess beschreibt die Programme, die auf diesem Computer laufen: eine "
     "Instanz je Prozess in /proc, benannt nach dem Befehlsnamen in /proc/<pid>/stat, "
     "aufsteigend nach Prozesskennung geordnet, gefolgt von der Instanz _Total mit den Summen "
     "über alle Prozesse. Ein Prozess, der während des Lesens endet, fehlt in der Stichprobe."},
    {ThreadObjectIndex, "Thread",
     "Das Objekt Thread beschreibt jeden Thread jedes Prozesses: eine Instanz je Thread, "
     "benannt <Prozessname>/<Threadkennung> nach dem Prozessnamen in /proc/<pid>/stat und dem "
     "Verzeichnis des Threads in /proc/<pid>/task, der Hauptthread jedes Prozesses zuerst, "
     "gefolgt von _Total/_Total. Alle Threads zu lesen ist aufwendig, daher enthält nur eine "
     "Stichprobe das Objekt, die es über seinen Index (232) anfordert, nicht Global."},
    {PhysicalDiskObjectIndex, "Physikalischer Datenträger",
     "Das Objekt Physikalischer Datenträger beschreibt die Platten des Computers: eine "
     "Instanz je ganzer Platte mit Hardware dahinter (ein Gerät in /sys/block mit "
     "device-Verweis, also keine Partitionen, loop-, ram-, zram-, Device-Mapper- oder "
     "md-Geräte), benannt nach ihrer Nummer und ihrem Namen (0 sda, 1 nvme0n1, ...) in der "
     "Reihenfolge von /proc/diskstats, gefolgt von _Total."},
    {LogicalDiskObjectIndex, "Logischer Datenträger",
     "Das Objekt Logischer Datenträger beschreibt die eingehängten lokalen Dateisysteme: eine "
     "Instanz je Einhängepunkt in /proc/self/mountinfo, dessen Dateisystem eine Größe hat "
     "(Netzwerk-, FUSE- und Automount-Dateisysteme fehlen), gefolgt von _Total. Der Platz "
     "stammt aus statvfs, die Übertragungen aus der Zeile in /proc/diskstats des Geräts, auf "
     "dem das Dateisystem liegt."},
    {ProcessorObjectIndex, "Prozessor",
     "Das Objekt Prozessor beschreibt die Auslastung jedes logischen Prozessors: eine Instanz "
     "je Prozessor, benannt nach der Nummer, die Linux ihm gibt (0, 1, ...), gefolgt von der "
     "Instanz _Total mit dem Mittelwert über alle Prozessoren. Die Zeiten stammen aus den "
     "cpu-Zeilen von /proc/stat, die Interrupts aus /proc/interrupts."},
    {ProcessesIndex, "Prozesse",
     "Die Zahl der Prozesse auf dem Computer im Augenblick der Stichprobe: die "
     "Prozessverzeichnisse in /proc, Kernelthreads eingeschlossen."},
    {ThreadsIndex, "Threads",
     "Die Zahl der Threads auf dem Computer im Augenblick der Stichprobe, Kernelthreads "
     "eingeschlossen: die Zahl nach dem Schrägstrich in /proc/loadavg."},
    {BytesReceivedIndex, "Empfangene Bytes/s",
     "Die Rate, mit der Bytes an der Schnittstelle ankamen, einschließlich der Header der "
     "Verbindungsschicht: die erste Empfangsspalte (bytes) ihrer Zeile in /proc/net/dev."},
    {PacketsReceivedIndex, "Empfangene Pakete/s",
     "Die Rate, mit der Pakete an der Schnittstelle ankamen: die Empfangsspalte packets ihrer "
     "Zeile in /proc/net/dev."},
    {BytesTotalIndex, "Bytes gesamt/s",
     "Die Rate, mit der Bytes an der Schnittstelle gesendet und empfangen wurden, zusammen: "
     "die Spalten bytes für Empfang und Senden ihrer Zeile in /proc/net/dev."},
    {PacketsIndex, "Pakete/s",
     "Die Rate, mit der Pakete an der Schnittstelle gesendet und empfangen wurden, zusammen: "
     "die Spalten packets für Empfang und Senden ihrer Zeile in /proc/net/dev."},
    {PacketsSentIndex, "Gesendete Pakete/s",
     "Die Rate, mit der Pakete über die Schnittstelle gesendet wurden: die Sendespalte "
     "packets ihrer Zeile in /proc/net/dev."},
    {BytesSentIndex, "Gesendete Bytes/s",
     "Die Rate, mit der Bytes über die Schnittstelle gesendet wurden, einschließlich der "
     "Header der Verbindungsschicht: die Sendespalte bytes ihrer Zeile in /proc/net/dev."},
    {NetworkInterfaceObjectIndex, "Netzwerkschnittstelle",
     "Das Objekt Netzwerkschnittstelle beschreibt den Verkehr jeder Netzwerkschnittstelle des "
     "Computers: eine Instanz je Schnittstelle in /proc/net/dev außer der "
     "Loopback-Schnittstelle lo, benannt wie unter Linux (eth0, wlan0, ...). Es sind die "
     "Schnittstellen des Netzwerk-Namensraums des lesenden Prozesses."},
    {CurrentBandwidthIndex, "Aktuelle Bandbreite",
     "Die Geschwindigkeit der Verbindung der Schnittstelle in Bit pro Sekunde: "
     "/sys/class/net/<name>/speed, das Megabit pro Sekunde enthält, mal 1.000.000. Sie ist 0, "
     "wo die Geschwindigkeit unbekannt ist (die Datei sagt -1 oder kann nicht gelesen werden, "
     "wie bei den meisten virtuellen Schnittstellen)."},
    {PacketsOutboundDiscardedIndex, "Verworfene ausgehende Pakete",
     "Die Zahl der zu sendenden Pakete, die die Schnittstelle ohne Fehler verworfen hat, etwa "
     "mangels Pufferplatz: die Sendespalte drop ihrer Zeile in /proc/net/dev."},
    {PacketsOutboundErrorsIndex, "Ausgehende Pakete, Fehler",
     "Die Zahl der Pakete, die die Schnittstelle wegen eines Fehlers nicht senden konnte: die "
     "Sendespalte errs ihrer Zeile in /proc/net/dev."},
    {SystemUpTimeIndex, "Systembetriebszeit",
     "Die Zeit seit dem Start des Computers in Sekunden. Der Datenblock enthält den "
     "Startzeitpunkt als Dateizeit, abgeleitet von der Boot-Uhr von Linux; die Betriebszeit "
     "ist der Zeitstempel des Objekts abzüglich dieses Werts."},
    {ThreadCountIndex, "Threadanzahl",
     "Die Zahl der Threads des Prozesses im Augenblick der Stichprobe: num_threads aus "
     "/proc/<pid>/stat."},
    {PriorityBaseIndex, "Basispriorität",
     "Die Basispriorität des Prozesses oder Threads auf der Skala von Windows: 8 für den "
     "normalen Nice-Wert 0, steigend bis 13 für Nice -20 und fallend bis 4 für Nice 19 (nice "
     "aus /proc/<pid>/stat, für einen Thread aus /proc/<pid>/task/<tid>/stat, da ein Thread "
     "einen eigenen Nice-Wert haben kann)."},
    {ElapsedTimeIndex, "Verstrichene Zeit",
     "Die Zeit in Sekunden, die der Prozess oder Thread schon läuft. Der Datenblock enthält "
     "seinen Start als Dateizeit, aus starttime in /proc/<pid>/stat oder "
     "/proc/<pid>/task/<tid>/stat; die verstrichene Zeit ist der Zeitstempel des Objekts "
     "abzüglich dieses Werts. Für _Total ist es der Start des ältesten Prozesses oder "
     "Threads."},
    {InterruptTimeIndex, "Interruptzeit (%)",
     "Der Anteil der verstrichenen Zeit in Prozent, den der Prozessor mit der Bearbeitung von "
     "Hardware- und Software-Interrupts verbrachte: irq + softirq seiner cpu-Zeile in "
     "/proc/stat; _Total ist der Mittelwert über alle Prozessoren."},
    {PagingFileObjectIndex, "Auslagerungsdatei",
     "Das Objekt Auslagerungsdatei beschreibt die Auslagerungsbereiche des Computers: eine "
     "Instanz je Bereich in /proc/swaps, benannt nach seinem Gerät oder seiner Datei, gefolgt "
     "von _Total. Ohne Auslagerungsbereich gibt es nur _Total, mit 0 %."},
    {UsageIndex, "Belegung (%)",
     "Der belegte Anteil des Auslagerungsbereichs in Prozent: Used durch Size seiner Zeile in "
     "/proc/swaps, hier beide in Bytes gezählt."},
    {UsagePeakIndex, "Maximale Belegung (%)",
     "Der größte belegte Anteil des Auslagerungsbereichs, der gesehen wurde, seit dieses "
     "Programm ihn zum ersten Mal gelesen hat, in Prozent seiner Größe. Linux führt keinen "
     "solchen Höchstwert, daher beginnt er mit der ersten Stichprobe; ein abgeschalteter "
     "Bereich verliert ihn."},
    {IdProcessIndex, "Prozesskennung",
     "Die Kennung des Prozesses, eindeutig, solange er läuft; Linux kann sie nach seinem Ende "
     "einem neuen Prozess geben. Für einen Thread: die Kennung des Prozesses, zu dem er "
     "gehört. _Total zeigt 0."},
    {IdThreadIndex, "Threadkennung",
     "Die Kennung des Threads: die Nummer seines Verzeichnisses in /proc/<pid>/task, "
     "eindeutig, solange er läuft. Der Hauptthread eines Prozesses hat die Prozesskennung. "
     "_Total zeigt 0."},
    {HandleCountIndex, "Handleanzahl",
     "Die Zahl der Dateideskriptoren, die der Prozess geöffnet hat: die Einträge von "
     "/proc/<pid>/fd. Sie ist 0, wenn dieses Verzeichnis nicht gelesen werden darf."},
    {CommittedBytesInUseIndex, "Zugesicherte verwendete Bytes (%)",
     "Die zugesicherten Bytes in Prozent der Zusagegrenze, beide aus /proc/meminfo "
     "(Committed_AS und CommitLimit) und hier in MiB gezählt. Mit der heuristischen "
     "Overcommit-Regel kann der Wert 100 % übersteigen."},
    {CommittedBytesInUseBaseIndex, "Zugesicherte verwendete Bytes (%), Basis",
     "Die Basis von Zugesicherte verwendete Bytes (%): die Zusagegrenze in MiB (CommitLimit "
     "aus /proc/meminfo). Sie ist nicht dazu gedacht, für sich allein angezeigt zu werden."},
    {CreatingProcessIdIndex, "Erstellende Prozesskennung",
     "Die Kennung des Elternprozesses: ppid aus /proc/<pid>/stat. Endet der Elternprozess, "
     "gibt Linux dem Prozess einen neuen (Prozess 1 oder den nächsten Subreaper), daher kann "
     "sich der Wert anders als unter Windows ändern."},
    {IoReadOperationsIndex, "E/A-Lesevorgänge/s",
     "Die Rate der Lese-Systemaufrufe des Prozesses (read, pread, readv und verwandte) auf "
     "Dateien, Pipes, Sockets und Geräten: syscr aus /proc/<pid>/io. Sie ist 0, wenn diese "
     "Datei nicht gelesen werden darf."},
    {IoWriteOperationsIndex, "E/A-Schreibvorgänge/s",
     "Die Rate der Schreib-Systemaufrufe des Prozesses (write, pwrite, writev und verwandte) "
     "auf Dateien, Pipes, Sockets und Geräten: syscw aus /proc/<pid>/io. Sie ist 0, wenn diese "
     "Datei nicht gelesen werden darf."},
    {IoDataOperationsIndex, "E/A-Datenvorgänge/s",
     "Die Rate der Lese- und Schreib-Systemaufrufe des Prozesses zusammen: syscr + syscw aus "
     "/proc/<pid>/io. Sie ist 0, wenn diese Datei nicht gelesen werden darf."},
    {IoOtherOperationsIndex, "Andere E/A-Vorgänge/s",
     "Die Rate der E/A-Vorgänge des Prozesses, die weder Daten lesen noch schreiben. Linux "
     "zählt sie nicht je Prozess, daher ist der Wert immer 0."},
    {IoReadBytesIndex, "E/A-Lesebytes/s",
     "Die Rate, mit der der Prozess Bytes über Lese-Systemaufrufe liest, gleich ob aus dem "
     "Seitencache, von Platten, Pipes, Sockets oder Geräten: rchar aus /proc/<pid>/io. Sie ist "
     "0, wenn diese Datei nicht gelesen werden darf."},
    {IoWriteBytesIndex, "E/A-Schreibbytes/s",
     "Die Rate, mit der der Prozess Bytes über Schreib-Systemaufrufe schreibt, gleich ob in "
     "Dateien, Pipes, Sockets oder Geräte: wchar aus /proc/<pid>/io. Sie ist 0, wenn diese "
     "Datei nicht gelesen werden darf."},
    {IoDataBytesIndex, "E/A-Datenbytes/s",
     "Die Rate, mit der der Prozess Bytes liest und schreibt, zusammengenommen: rchar + wchar "
     "aus /proc/<pid>/io. Sie ist 0, wenn diese Datei nicht gelesen werden darf."},
    {IoOtherBytesIndex, "Andere E/A-Bytes/s",
     "Die Rate der Bytes, die E/A-Vorgänge des Prozesses bewegen, die weder Daten lesen noch "
     "schreiben. Linux zählt sie nicht je Prozess, daher ist der Wert immer 0."},
    {WorkingSetPrivateIndex, "Arbeitsseiten (privat)",
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

}  // namespace

std::span<const TNameText> GermanNames() { return Texts; }

}  // namespace gaugery
