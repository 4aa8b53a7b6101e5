"""Skylet's DDE client (skydrive.exe dde) with the substitutes: time-outs, late answers, lost and missing servers."""

import re
import subprocess
from collections import namedtuple

import pytest

import helpers

SCRIPT = "C:\\Avor\\records.txt"
# The record's own CR and last character stay; LF and CR LF end a line.
RECORDS = [b"**", helpers.record(), b"SNFO-29 MA0;"]
Step = namedtuple("Step", "op ok text ms")


@pytest.fixture
def probe(wine, tmp_path):
    """probe(application, topic, item, time-out tenths, *ops) -> a Step for "open" and each op."""
    helpers.install_partners(wine)

    def run(*args, wait_open_ms=15000):
        out, err = tmp_path / "out", tmp_path / "err"
        wait_open = ["--wait-open", str(wait_open_ms)] if wait_open_ms else []
        # Files, not pipes: Wine's background programs may hold a pipe open.
        with open(out, "wb") as o, open(err, "wb") as e:
            subprocess.run([helpers.WINE, str(helpers.SKYDRIVE_EXE), "dde", *map(str, args[:4]), *wait_open,
                            *map(str, args[4:])], env=wine.env, stdin=subprocess.DEVNULL, stdout=o, stderr=e,
                           timeout=60)
        lines, errors = out.read_bytes().decode("cp1252").splitlines(), err.read_text(errors="replace")
        times = re.findall(r"^elapsed \w+ (\d+)\r?$", errors, re.M)
        assert len(lines) == len(times) == len(args) - 3, (lines, errors)
        # The link's waits must leave the messages of the probe's other window (a fast timer) alone.
        assert re.search(r"^foreign-dispatches 0\r?$", errors, re.M), errors
        fields = [line.split("\t") for line in lines]  # a received CR is written \r
        return [Step(f[0], f[1] == "ok", f[2].replace("\\r", "\r"), int(ms)) for f, ms in zip(fields, times)]
    return run


def test_a_late_answer_is_not_taken_for_the_next_request_and_a_lost_link_fails_at_once(wine, partner, probe):
    wine.drive_c(SCRIPT).write_bytes(RECORDS[0] + b"\n" + RECORDS[1] + b"\r\n" + RECORDS[2] + b"\r\n")
    partner("C:\\Avor\\Avor.exe", "--script", SCRIPT, "--delay-first", "3000", "--stop-after", "4")
    steps = probe("Avor", "Tracking", "General", 20, "request", "sleep:1500", *["request"] * 4,
                  "sleep:300", "request")
    answered = [("request", True, r.decode("cp1252")) for r in RECORDS[1:] + RECORDS[-1:]]
    failed, slept = ("request", False, ""), ("sleep", True, "")
    assert [s[:3] for s in steps] == [("open", True, ""), failed, slept, *answered, failed, slept, failed]
    # Time-out 2 s, first answer after 3 s; once Avor ends the link fails at once, then does not even try.
    assert 1950 <= steps[1].ms < 2400 and steps[6].ms < 1000 and steps[8].ms < 100, steps


def test_a_link_to_any_application_reaches_one_server_and_to_nobody_fails_at_once(wine, partner, probe):
    for name in ("RotServer", "CatServer"):  # both answer before the link picks one
        partner(f"C:\\Vantrak\\{name}.exe")
        assert probe(name, "RotServConv", "RotServItem", 10)[0].ok
    assert all(s.ok for s in probe("", "RotServConv", "RotServItem", 10, "execute:ClientOn"))
    logs = [wine.log(f"C:\\Vantrak\\{n}.log") for n in ("RotServer", "CatServer")]
    assert sum("execute RotServConv ClientOn" in log for log in logs) == 1, logs
    nobody = probe("", "NoSuchTopic", "Item", 50, "request", "execute:x", "poke:x", wait_open_ms=0)
    assert [s.ok for s in nobody] == [False] * 4, nobody
    assert nobody[0].ms < 1000 and all(s.ms < 100 for s in nobody[1:]), nobody  # the time-out is 5 s

