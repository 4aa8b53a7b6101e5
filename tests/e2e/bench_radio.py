"""Benchmark, not a test (not collected by `pytest tests/e2e`): run it with
    /usr/bin/python3 -m pytest tests/e2e/bench_radio.py -s
It tracks the demo pass for 60 s with CAT on, a TS-2000 on a pty, a CAT wait
of 50 ms and a step of 0 (a send every record), and prints the CPU skylet.exe
used; then the spread of 1200 CAT waits of 50 ms on the program's own clock
(catwait_bench.exe). A wait that spun instead of sleeping would show 15 % of
a core or more."""

from __future__ import annotations

import os
import subprocess
import time

from helpers import MAIN_CAPTION, SKYLET_EXE, WINE
from profiles import default_profile, sat_ini
from test_startup_links import start_options

SECONDS = 60


def cpu_seconds(pid: int) -> float:
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def test_tracking_with_cat_on_costs_little_cpu(profile, serial_line, skylet, drive, wine):
    profile(default_profile().replace(
        vantrak={"SatIni.SQF": sat_ini(3, 50), "KenwoodPar.SQF": b"TS-2000\r\n9600\r\n0\r\n"},
        skylet={"AvorPath.SQF": b"C:\\Avor\\Avor.exe --pass --speed 10\r\n",
                "DDEIntVCat.SQF": b" 0\r\n", "SkyletStart.SQF": start_options(cat="+")}))
    line = serial_line(3)
    skylet.start()
    assert drive.wait_window(MAIN_CAPTION, 30)
    time.sleep(5)
    pid = skylet.proc.pid
    cpu0, wall0, bytes0 = cpu_seconds(pid), time.monotonic(), len(line.data())
    time.sleep(SECONDS)
    cpu = cpu_seconds(pid) - cpu0
    wall = time.monotonic() - wall0
    sent = line.data()[bytes0:]
    print(f"\nskylet.exe over {wall:.0f} s: CPU {100 * cpu / wall:.2f} % of a core; "
          f"{sent.count(b'FA')} downlink and {sent.count(b'FB')} uplink commands sent")

    done = subprocess.run([WINE, str(SKYLET_EXE.parent / "catwait_bench.exe"), "1200", "50"],
                          env=wine.env, capture_output=True, text=True, timeout=180)
    print(done.stdout.strip())
