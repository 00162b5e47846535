#!/usr/bin/python3
"""Times whole processes, interleaved: each round runs every command once, in
turn, so that a change in the machine's load falls on all of them alike.

usage: time_processes.py OUTPUT.json ROUNDS WARMUP NAME=COMMAND [NAME=COMMAND ...]

A COMMAND is run by /bin/sh. A NAME may carry a preparation, run untimed
before each run of its command: NAME=COMMAND is then written
NAME:PREPARE=COMMAND. Every command must succeed. OUTPUT.json holds, per
name, the median wall-clock and CPU (user + system) time in milliseconds and
every run's figures.
"""
import json
import os
import statistics
import subprocess
import sys
import time


def parse(entry):
    name, command = entry.split("=", 1)
    name, _, prepare = name.partition(":")
    return name, prepare, command


def run(prepare, command):
    if prepare:
        subprocess.run(["/bin/sh", "-c", prepare], check=True)
    start = time.perf_counter()
    child = subprocess.Popen(["/bin/sh", "-c", command], stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit(f"failed ({child.returncode}): {command}")
    return wall * 1e3, (usage.ru_utime + usage.ru_stime) * 1e3


def main():
    output, rounds, warmup = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    commands = [parse(entry) for entry in sys.argv[4:]]
    runs = {name: [] for name, _, _ in commands}
    for round_number in range(warmup + rounds):
        # Alternate the order too, so that neither command always follows the other.
        order = commands if round_number % 2 == 0 else commands[::-1]
        for name, prepare, command in order:
            figures = run(prepare, command)
            if round_number >= warmup:
                runs[name].append(figures)
    result = {
        name: {
            "wall_ms": statistics.median(w for w, _ in figures),
            "cpu_ms": statistics.median(c for _, c in figures),
            "runs": figures,
        }
        for name, figures in runs.items()
    }
    with open(output, "w") as f:
        json.dump(result, f, indent=1)
    for name, r in result.items():
        print(f"{name}: median {r['wall_ms']:.1f} ms wall, {r['cpu_ms']:.1f} ms CPU")


if __name__ == "__main__":
    main()
