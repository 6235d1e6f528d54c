#!/usr/bin/env python3
"""Writes the cache fixture trees sysfs-caches-hybrid/ and sysfs-caches-server/.

They stand for machines the tests do not run on: a desktop whose cores differ
(two cores with two threads each beside four single-thread cores) and a
two-socket server with one CPU offline, a cpufreq folder among the CPUs and a
cache entry without a size. Run from this folder; the output is committed.
"""
import os
import shutil

CPU = "sys/devices/system/cpu"


def cache(root, cpu, index, level, kind, size, shared):
    folder = os.path.join(root, CPU, "cpu%d" % cpu, "cache", "index%d" % index)
    os.makedirs(folder, exist_ok=True)
    for name, value in (("level", level), ("type", kind), ("size", size),
                        ("shared_cpu_list", shared)):
        if value is None:
            continue
        with open(os.path.join(folder, name), "w") as f:
            f.write("%s\n" % value)


def hybrid():
    root = "sysfs-caches-hybrid"
    shutil.rmtree(root, ignore_errors=True)
    for cpu in range(8):
        if cpu < 4:
            pair = "%d-%d" % (cpu // 2 * 2, cpu // 2 * 2 + 1)
            cache(root, cpu, 0, 1, "Data", "48K", pair)
            cache(root, cpu, 1, 1, "Instruction", "32K", pair)
            cache(root, cpu, 2, 2, "Unified", "1280K", pair)
        else:
            cache(root, cpu, 0, 1, "Data", "32K", cpu)
            cache(root, cpu, 1, 1, "Instruction", "64K", cpu)
            cache(root, cpu, 2, 2, "Unified", "2048K", "4-7")
        cache(root, cpu, 3, 3, "Unified", "12288K", "0-7")


def server():
    root = "sysfs-caches-server"
    shutil.rmtree(root, ignore_errors=True)
    for cpu in range(3):  # cpu3 is offline: no cache folder
        socket = "0-1" if cpu < 2 else "2-3"
        cache(root, cpu, 0, 1, "Data", "32K", cpu)
        cache(root, cpu, 1, 1, "Instruction", "32K", cpu)
        cache(root, cpu, 2, 2, "Unified", "1M", cpu)
        cache(root, cpu, 3, 3, "Unified", "36608K", socket)
        cache(root, cpu, 4, 4, "Unified", None, socket)  # no size: left out
    for name, value in (("cpu3/online", 0), ("cpufreq/policy0/scaling_governor", "powersave"),
                        ("online", "0-2")):
        os.makedirs(os.path.dirname(os.path.join(root, CPU, name)), exist_ok=True)
        with open(os.path.join(root, CPU, name), "w") as f:
            f.write("%s\n" % value)


hybrid()
server()
