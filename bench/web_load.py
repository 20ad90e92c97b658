#!/usr/bin/python3
"""The cost of open web views to `gaugery serve`. Usage: web_load.py GAUGERY [SECONDS]

Starts a server and measures its processor time (user and system, from /proc) over
SECONDS (default 20) each: with no page open, with one page, and with 20 pages, a page
being what the page asks for at its rate: /api/values of the default view's counters
(only the points after the newest it holds) and /api/processes, once an interval. Prints
the processor time of each phase and the ratio of 20 pages to one, measured in one run.
"""

import json
import os
import re
import subprocess
import sys
import threading
import time
import urllib.parse
import urllib.request

COUNTERS = ["\\Processor(_Total)\\% Processor Time", "\\Memory\\Available Bytes",
            "\\PhysicalDisk(_Total)\\Disk Bytes/sec", "\\Network Interface(*)\\Bytes Total/sec"]
INTERVAL = 1.0


def processor_seconds(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def page(base, stop):
    newest = 0
    while not stop.is_set():
        started = time.monotonic()
        query = urllib.parse.urlencode([("counter", path) for path in COUNTERS] + [("since", newest)])
        with urllib.request.urlopen(base + "/api/values?" + query, timeout=10) as answer:
            newest = max(newest, json.load(answer)["time"])
        with urllib.request.urlopen(base + "/api/processes", timeout=10) as answer:
            answer.read()
        stop.wait(max(0, INTERVAL - (time.monotonic() - started)))


def phase(server, base, pages, seconds):
    stop = threading.Event()
    threads = [threading.Thread(target=page, args=(base, stop)) for _ in range(pages)]
    for thread in threads:
        thread.start()
    time.sleep(2)  # the first requests start the sampling
    before = processor_seconds(server.pid)
    time.sleep(seconds)
    used = processor_seconds(server.pid) - before
    stop.set()
    for thread in threads:
        thread.join()
    return used


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 20
    server = subprocess.Popen([sys.argv[1], "serve", "--listen", "127.0.0.1:0"],
                              stdout=subprocess.PIPE, text=True)
    try:
        base = "http://" + re.search(r"http://(\S+)/", server.stdout.readline()).group(1)
        idle = phase(server, base, 0, seconds)
        one = phase(server, base, 1, seconds)
        twenty = phase(server, base, 20, seconds)
        print("processor time over %g s: no page %.2f s, 1 page %.2f s, 20 pages %.2f s"
              % (seconds, idle, one, twenty))
        print("20 pages / 1 page: %.2f" % (twenty / one if one > 0 else float("inf")))
    finally:
        server.terminate()
        server.wait()
    return 0


if __name__ == "__main__":
    sys.exit(main())
