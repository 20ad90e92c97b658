"""ps's side of the peer comparison: CPU time of `ps -eo comm,pid,etimes,nlwp,vsz,rss`.

    ps_reader.py SAMPLES   prints "cpu_us_per_sample <value>"
"""
import resource
import subprocess
import sys


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def main():
    samples = max(1, int(sys.argv[1]) if len(sys.argv) > 1 else 100)
    command = ["ps", "-eo", "comm,pid,etimes,nlwp,vsz,rss"]
    start = children_cpu()
    for _ in range(samples):
        subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
    print("cpu_us_per_sample %.1f" % ((children_cpu() - start) * 1e6 / samples))


main()
