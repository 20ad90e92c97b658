"""CPU time of running a command, for the peer comparison: the children's user and system
time per run.

    command_reader.py SAMPLES COMMAND [ARGUMENT...]   prints "cpu_us_per_sample <value>"
"""
import resource
import subprocess
import sys


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def main():
    samples = max(1, int(sys.argv[1]))
    command = sys.argv[2:]
    start = children_cpu()
    for _ in range(samples):
        subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
    print("cpu_us_per_sample %.1f" % ((children_cpu() - start) * 1e6 / samples))


main()
