"""psutil's side of the peer comparison: the fields Brindle-like viewers show, per sample.

    psutil_reader.py SAMPLES   prints "cpu_us_per_sample <value>"
"""
import sys
import time

import psutil

FIELDS = ["name", "pid", "create_time", "num_threads", "memory_info", "num_fds"]


def sample():
    for process in psutil.process_iter(FIELDS):
        process.info  # noqa: B018 - the values are read by process_iter


def main():
    samples = max(1, int(sys.argv[1]) if len(sys.argv) > 1 else 100)
    sample()
    start = time.process_time()
    for _ in range(samples):
        sample()
    print("cpu_us_per_sample %.1f" % ((time.process_time() - start) * 1e6 / samples))


main()
