"""Skylet's DDE client (skydrive.exe dde) with the substitutes: time-outs, late answers, lost and missing servers."""

import re
from collections import namedtuple

import pytest

import helpers

SCRIPT = "C:\\Avor\\records.txt"
# The record's own CR and last character stay; LF and CR LF end a line.
RECORDS = [b"**", helpers.record(), b"SNFO-29 MA0;"]
Step = namedtuple("Step", "op ok text ms")


@pytest.fixture
def probe(wine, drive):
    """probe(application, topic, item, time-out tenths, *ops) -> a Step for "open" and each op."""
    helpers.install_partners(wine)

    def run(*args, wait_open_ms=15000):
        result = drive.run("dde", *map(str, args[:4]), "--wait-open", str(wait_open_ms), *map(str, args[4:]))
        times = re.findall(r"^elapsed \w+ (\d+)\r?$", result.stderr, re.M)
        assert len(result.records) == len(times) == len(args) - 3, result
        # The link's waits must leave the messages of the probe's other window (a fast timer) alone.
        assert re.search(r"^foreign-dispatches 0\r?$", result.stderr, re.M), result.stderr
        return [Step(r[0], r[1] == "ok", r[2], int(ms)) for r, ms in zip(result.records, times)]
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

