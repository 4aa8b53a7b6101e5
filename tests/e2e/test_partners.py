"""The partner substitutes under Wine, spoken to through Skylet's own DDE client
(ddeprobe.exe links the same dde_link.cpp as skylet.exe).

What Skylet relies on: Avor hands out its records in order, a lost Avor fails
the next request quickly, the rotor/CAT server and Arswin log every command
under the name they were started as, and a link to nobody fails at once.
"""

from __future__ import annotations

import os
import re
import shutil
import subprocess
import tempfile
from dataclasses import dataclass
from pathlib import Path

import pytest

import helpers

PARTNERS = Path(os.environ.get("PARTNERS_DIR", helpers.BUILD / "partners"))
DDEPROBE_EXE = Path(os.environ.get("DDEPROBE_EXE", helpers.BUILD / "ddeprobe.exe"))

# How long a freshly started partner may take until it answers.
READY_MS = 15000


def win_path(path: Path) -> str:
    """The prefix maps the Unix root to Z:."""
    return "Z:" + str(path).replace("/", "\\")


def unescape(text: str) -> str:
    """ddeprobe writes \\ CR LF TAB in a received text as \\\\ \\r \\n \\t."""
    return re.sub(r"\\(.)", lambda m: {"r": "\r", "n": "\n", "t": "\t"}.get(m[1], m[1]), text)


@dataclass
class Step:
    op: str
    ok: bool
    text: str
    ms: int


class Probe:
    """ddeprobe.exe: one DDE link, a list of operations, a Step per line.

    Every run also checks that the link's waits left the messages of the
    probe's other window (a fast timer, like Skylet's main window) alone.
    """

    def __init__(self, wine):
        self.wine = wine

    def __call__(self, application: str, topic: str, item: str, timeout_tenths: int, *ops: str,
                 wait_open_ms: int = READY_MS) -> list[Step]:
        args = [helpers.WINE, str(DDEPROBE_EXE)]
        if wait_open_ms:
            args += ["--wait-open", str(wait_open_ms)]
        args += [application, topic, item, str(timeout_tenths), *ops]
        # Files, not pipes: Wine's background programs may inherit the
        # handles and hold a pipe open after the probe has finished.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            done = subprocess.run(args, env=self.wine.env, stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=err, timeout=60)
            out.seek(0)
            err.seek(0)
            stdout, stderr = out.read().decode("cp1252"), err.read().decode(errors="replace")
        assert done.returncode in (0, 1), f"ddeprobe {args[2:]}: {stderr}"
        lines = stdout.splitlines()
        times = [int(m[1]) for m in re.finditer(r"^elapsed \w+ (\d+)\r?$", stderr, re.M)]
        assert len(lines) == len(ops) + 1 == len(times), (lines, stderr)
        foreign = re.search(r"^foreign-dispatches (\d+)\r?$", stderr, re.M)
        assert foreign and foreign[1] == "0", f"the link dispatched another window's messages: {stderr}"
        steps = []
        for line, ms in zip(lines, times):
            op, result, *text = line.split(" ", 2)
            steps.append(Step(op, result == "ok", unescape(text[0]) if text else "", ms))
        return steps


class Partner:
    """A partner program copied into a folder of its own (so its default log
    lands there) and started under Wine; ended by PID."""

    def __init__(self, wine, exe: Path, folder: Path, name: str, args: list[str]):
        folder.mkdir(parents=True, exist_ok=True)
        self.exe = folder / f"{name}.exe"
        shutil.copyfile(exe, self.exe)
        self.output = open(folder / f"{name}.out", "wb")
        self.proc = subprocess.Popen([helpers.WINE, str(self.exe), *args], cwd=folder, env=wine.env,
                                     stdin=subprocess.DEVNULL, stdout=self.output,
                                     stderr=subprocess.STDOUT, start_new_session=True)

    def log(self) -> list[str]:
        """The events in the log beside the program."""
        return helpers.partner_log(self.exe.with_suffix(".log"))

    def stop(self) -> None:
        helpers.stop_process(self.proc)
        self.output.close()


@pytest.fixture
def probe(wine):
    if not DDEPROBE_EXE.is_file():
        pytest.fail(f"{DDEPROBE_EXE} has not been built (cmake --build --preset win64)")
    return Probe(wine)


@pytest.fixture
def start(wine, tmp_path):
    """start("RotServer", *args, name="CatServer") -> Partner, stopped after the test."""
    started: list[Partner] = []

    def run(program: str, *args: str, name: str | None = None) -> Partner:
        exe = PARTNERS / f"{program}.exe"
        if not exe.is_file():
            pytest.fail(f"{exe} has not been built (cmake --build --preset win64)")
        name = name or program
        partner = Partner(wine, exe, tmp_path / name, name, list(args))
        started.append(partner)
        return partner

    yield run
    for partner in started:
        partner.stop()


def ops_of(steps: list[Step]) -> list[tuple[str, bool]]:
    return [(s.op, s.ok) for s in steps]


# --- Avor -------------------------------------------------------------------

SCRIPT = [
    b"SNAO-7 AZ123.4 EL12.3 UP145950000 UMUSB DN435800000 DMLSB MA128 ",
    b"**",
    b"SNFO-29 AZ359.9 EL0.0 UP145950000 UMUSB DN435800000 DMLSB MA0;",
]


def test_avor_answers_script_lines_in_order_then_repeats_the_last(start, probe, tmp_path):
    script = tmp_path / "records.txt"
    # Both line ends: CR LF and LF end a line without being part of the record.
    script.write_bytes(SCRIPT[0] + b"\r\n" + SCRIPT[1] + b"\n" + SCRIPT[2] + b"\r\n")
    log = tmp_path / "avor.log"
    start("Avor", "--script", win_path(script), "--log", win_path(log))

    steps = probe("Avor", "Tracking", "General", 10, *["request"] * 5)

    expected = [s.decode("cp1252") for s in SCRIPT + [SCRIPT[-1]] * 2]
    assert ops_of(steps) == [("open", True)] + [("request", True)] * 5, steps
    assert [s.text for s in steps[1:]] == expected
    assert steps[0].ms < 1000 and max(s.ms for s in steps[1:]) < 500, steps
    # The probe's link may still be ending while the log is read.
    events = [e for e in helpers.partner_log(log) if e != "disconnect Tracking"]
    assert events == ["start", "connect Tracking"] + [f"request General {r}" for r in expected]


def test_avor_stopping_after_n_requests_fails_the_next_request_quickly(start, probe, tmp_path):
    (tmp_path / "one.txt").write_bytes(SCRIPT[0] + b"\r\n")
    avor = start("Avor", "--script", win_path(tmp_path / "one.txt"), "--stop-after", "2")
    timeout_tenths = 30

    steps = probe("Avor", "Tracking", "General", timeout_tenths,
                  "request", "request", "request", "sleep:300", "request")

    assert ops_of(steps) == [("open", True), ("request", True), ("request", True),
                             ("request", False), ("sleep", True), ("request", False)]
    # The program is gone: no waiting out the time-out (3 s) for it.
    assert steps[3].ms < 1000, steps[3]
    # By now the link knows it is closed and does not even try.
    assert steps[5].ms < 100, steps[5]
    assert helpers.wait_until(lambda: avor.proc.poll() is not None, 15), "Avor did not end"


def test_late_avor_answer_times_out_and_is_not_taken_for_the_next_request(start, probe, tmp_path):
    script = tmp_path / "records.txt"
    script.write_bytes(SCRIPT[0] + b"\r\n" + SCRIPT[1] + b"\r\n")
    start("Avor", "--script", win_path(script), "--delay-first", "1500")

    steps = probe("Avor", "Tracking", "General", 10, "request", "sleep:1000", "request")

    assert ops_of(steps) == [("open", True), ("request", False), ("sleep", True), ("request", True)], steps
    # The link's time-out is 1 s; the first answer came after 1.5 s ...
    assert 950 <= steps[1].ms < 1400, steps[1]
    # ... and was dropped: the second request gets the second record.
    assert steps[3].text == SCRIPT[1].decode()


RECORD = re.compile(r"^SN(?P<name>\S+) AZ(?P<az>\d{1,3}\.\d) EL(?P<el>\d{1,2}\.\d) "
                    r"UP(?P<up>\d+) UMUSB DN(?P<dn>\d+) DMLSB MA(?P<ma>\d{1,3})\r$")
UPLINK_HZ, DOWNLINK_HZ = 145950000, 435800000
# The fastest a low-orbit satellite moves towards or away from a station.
MAX_RANGE_RATE = 7.6 / 299792.458


def test_avor_pass_mode_gives_a_plausible_pass_between_no_satellite_records(start, probe):
    # 1800 times faster: a revolution every 3.4 s, a pass of about 0.5 s.
    start("Avor", "--pass", "--speed", "1800")
    ops = ["request", "sleep:40"] * 110

    steps = probe("Avor", "Tracking", "General", 10, *ops)

    records = [s.text for s in steps if s.op == "request"]
    assert all(s.ok for s in steps), [s for s in steps if not s.ok]
    points = []
    for text in records:
        if text == "**":
            points.append(None)
            continue
        m = RECORD.match(text)
        assert m, f"not a well-formed record: {text!r}"
        assert "AZ" not in m["name"]
        az, el, up, dn, ma = float(m["az"]), float(m["el"]), int(m["up"]), int(m["dn"]), int(m["ma"])
        assert 0 <= az < 360 and 0 <= el <= 90 and 0 <= ma <= 255, text
        up_shift, dn_shift = up / UPLINK_HZ - 1, dn / DOWNLINK_HZ - 1
        assert abs(dn_shift) <= MAX_RANGE_RATE, text
        # One range rate shifts both: the uplink up by what the downlink loses.
        assert abs(up_shift + dn_shift) < 2e-8, text
        points.append((az, el, dn))

    # One whole pass between "**" records: the satellite rises, culminates
    # once and sets, and the downlink falls all the way from above to below
    # its nominal frequency.
    text_of_run = "".join("-" if p is None else "P" for p in points)
    whole = re.search(r"-(P{3,})-", text_of_run)
    assert whole, f"no whole pass among the records: {text_of_run}"
    passing = points[whole.start(1):whole.end(1)]
    elevations = [p[1] for p in passing]
    top = elevations.index(max(elevations))
    assert elevations[:top + 1] == sorted(elevations[:top + 1]), elevations
    assert elevations[top:] == sorted(elevations[top:], reverse=True), elevations
    downlinks = [p[2] for p in passing]
    assert downlinks == sorted(downlinks, reverse=True) and len(set(downlinks)) == len(downlinks), downlinks
    assert downlinks[0] > DOWNLINK_HZ > downlinks[-1], downlinks


# --- rotor/CAT server and Arswin -----------------------------------------------

def test_rotserver_logs_commands_under_its_name_and_refuses_while_told_to(start, probe):
    rot = start("RotServer")

    steps = probe("RotServer", "RotServConv", "RotServItem", 10,
                  "execute:ClientOn", "execute:AZ:123 EL:45", r"execute:Winkel\xE4nderg.",
                  "execute:Close", "execute:ClientOn")
    assert ops_of(steps) == [("open", True)] + [("execute", True)] * 5
    # "Close" is the server's business; the substitute stays and keeps serving.
    assert rot.proc.poll() is None

    (rot.exe.parent / "RotServer.refuse").write_bytes(b"")
    refused = probe("RotServer", "RotServConv", "RotServItem", 10, "execute:ClientOn", "poke:x")
    assert ops_of(refused) == [("open", True), ("execute", False), ("poke", False)]

    assert rot.log() == [
        "connect RotServConv",
        "execute RotServConv ClientOn",
        "execute RotServConv AZ:123 EL:45",
        "execute RotServConv Winkel\u00e4nderg.",
        "execute RotServConv Close",
        "execute RotServConv ClientOn",
        "disconnect RotServConv",
        "connect RotServConv",
        "refused execute RotServConv ClientOn",
        "refused poke RotServConv RotServItem x",
        "disconnect RotServConv",
    ]


def test_copy_named_catserver_serves_under_that_name_and_to_any_application(start, probe):
    cat = start("RotServer", name="CatServer")

    by_name = probe("CatServer", "CatServConv", "CatServItem", 10, "poke:FA00145950000;")
    by_topic = probe("", "CatServConv", "CatServItem", 10, "poke:FA00435800000;")
    old_name = probe("RotServer", "CatServConv", "CatServItem", 10, "poke:x", wait_open_ms=0)

    assert ops_of(by_name) == ops_of(by_topic) == [("open", True), ("poke", True)]
    assert ops_of(old_name) == [("open", False), ("poke", False)]
    assert [e for e in cat.log() if e.startswith("poke")] == [
        "poke CatServConv CatServItem FA00145950000;",
        "poke CatServConv CatServItem FA00435800000;",
    ]


def test_any_application_link_talks_to_one_server_of_the_topic(start, probe):
    servers = [start("RotServer"), start("RotServer", name="CatServer")]
    for server in servers:  # both answer before the link picks one
        name = server.exe.stem
        assert probe(name, "RotServConv", "RotServItem", 10)[0].ok

    steps = probe("", "RotServConv", "RotServItem", 10, "execute:ClientOn")

    assert ops_of(steps) == [("open", True), ("execute", True)]
    got = [s.exe.stem for s in servers if "execute RotServConv ClientOn" in s.log()]
    assert len(got) == 1, f"the command reached {got or 'no server'}"


def test_arswin_answers_its_name_in_any_case_and_logs_pokes(start, probe):
    arswin = start("Arswin")

    steps = probe("ARSWIN", "RCI", "AZIMUTH", 10, "poke:GA:90", "poke:GE:10")

    assert ops_of(steps) == [("open", True), ("poke", True), ("poke", True)]
    assert arswin.log() == ["connect RCI", "poke RCI AZIMUTH GA:90", "poke RCI AZIMUTH GE:10",
                            "disconnect RCI"]


def test_link_to_a_topic_nobody_serves_fails_at_once(probe):
    steps = probe("", "NoSuchTopic", "Item", 50, "request", "execute:x", "poke:x", wait_open_ms=0)

    assert ops_of(steps) == [("open", False), ("request", False), ("execute", False), ("poke", False)]
    # Far below the link's time-out of 5 s.
    assert steps[0].ms < 1000, steps[0]
    assert all(s.ms < 100 for s in steps[1:]), steps
