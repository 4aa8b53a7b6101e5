"""Run by hand (not collected): pytest tests/e2e/bench_radio.py -s. The CPU of 60 s of tracking, a send
every record after a CAT wait of 50 ms (spinning shows 15 % of a core or more)."""

import os
import time

from profiles import start_options, station, ts2000


def test_tracking_with_cat_on_costs_little_cpu(profile, serial_line, skylet):
    profile(station(start_options(cat="+"), ts2000(cat_delay_ms=50), {"DDEIntVCat.SQF": b" 0\r\n",
                    "AvorPath.SQF": b"C:\\Avor\\Avor.exe --pass --speed 10\r\n"}))
    line = serial_line(3)
    skylet.start(window=False)
    time.sleep(20)  # past the start-up
    stat = f"/proc/{skylet.proc.pid}/stat"
    ticks = lambda: sum(map(int, open(stat).read().rsplit(")", 1)[1].split()[11:13]))  # user and system
    ticks0, sent0 = ticks(), len(line.data())
    time.sleep(60)
    sent = line.data()[sent0:]
    print(f"\nskylet.exe: CPU {100 * (ticks() - ticks0) / os.sysconf('SC_CLK_TCK') / 60:.2f} % of a core; "
          f"{sent.count(b'FA')} downlink and {sent.count(b'FB')} uplink commands sent")
