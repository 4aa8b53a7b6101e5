"""Faults injected while Skylet runs under Wine, one scenario a row: partner
programs that die, hang or refuse, a serial line that vanishes, hostile
tracking records, broken settings files and an own folder that cannot be
written. Every row checks the outcome (the message, the end, or carrying
on), that nothing crashed or hung past its time-out, and that every settings
file is as it was unless Skylet's own writer was meant to replace it."""

from __future__ import annotations

import hashlib
import os
import re
import subprocess
import time
from collections.abc import Callable
from dataclasses import dataclass, field
from pathlib import Path

import pytest

from helpers import MAIN_CAPTION, WINE, partner_log, stop_process, wait_until
from profiles import Profile, default_profile, sat_ini
from test_main_window import avor_path, boxes, main_window_up, shown, write_script
from test_startup_links import start_options

AVOR_LOG = "C:\\Avor\\Avor.log"
CAT_LOG = "C:\\Vantrak\\CatServer.log"
ROTOR_LOG = "C:\\Vantrak\\RotServer.log"

ROTOR_FAILED = ["Fehler bei der Ausgabe an den Rotorserver,", "starten Sie Skylet neu."]
TRACKING_LOST = ["Der DDE-Link zu Avor ist abgebrochen worden,", "Skylet wird deshalb beendet."]
RETRY = "Skylet versucht es mit dem n\u00e4chsten Datensatz wieder."
CAT_REFUSED = re.compile(r'^Der Catserver hat "SF\d{7}\.\d{3} \d{7}\.\d{3}" nicht angenommen\.$')
SETTINGS_HEADER = "Einige Einstellungsdateien fehlen oder sind fehlerhaft:"
SETTINGS_FOOTER = "Skylet arbeitet ohne diese Werte weiter."

# Tracking link time-out of 1000 tenths, rotor link 200 (the form's table).
TRACKING_TIMEOUT = 100.0
ROTOR_TIMEOUT = 20.0
# Wine starting a program, a record a second, a loaded machine.
SLACK = 8.0
LONG_AGO = 978307200  # 2001-01-01: any write shows in the modification time


def moving(n: int) -> list[bytes]:
    """A pass whose every record moves the antenna and both frequencies by
    more than a step, so each one has something to send."""
    return [f"SNAO-7 AZ{100 + i}.0 EL{10 + i / 2:.1f} UP{145950000 + 300 * i} UMUSB "
            f"DN{435800000 - 300 * i} DMLSB MA128\r".encode() for i in range(n)]


PASS = [b"**"] + moving(150)


@dataclass
class Run:
    """What a row's steps reach: the programs, the line, the folders."""
    wine: object
    drive: object
    shot: Callable
    line: object | None
    own: Path
    cleanups: list[Callable] = field(default_factory=list)

    def box(self, seconds: float, name: str = "msgbox", answer: bool = True) -> list[str]:
        """Skylet's next message box, photographed and (normally) answered."""
        box = self.drive.see_msgbox(seconds)
        assert box is not None, f"no message within {seconds} s; windows:\n{self.drive.windows()}"
        self.shot(name)
        assert box.caption == "Skylet", box
        if answer:
            assert self.drive.msgbox(5) is not None, "the box went before OK was pressed"
        return box.lines

    def no_box(self, seconds: float) -> None:
        box = self.drive.no_msgbox(seconds)
        assert box is None, f"unexpected message: {box}"

    def log(self, windows_path: str) -> list[str]:
        return partner_log(self.wine.drive_c(windows_path))

    def wait_log(self, windows_path: str, prefix: str, count: int = 1, seconds: float = 30) -> None:
        def enough() -> bool:
            return sum(e.startswith(prefix) for e in self.log(windows_path)) >= count
        assert wait_until(enough, seconds, 0.3), f"{prefix!r} x{count}: {self.log(windows_path)}"

    def kill(self, image: str) -> None:
        """Ends a partner program the hard way (no goodbye to its clients),
        by the Windows process id of its window."""
        pids = {r[4] for r in self.drive.run("windows").records if r[5].lower() == image.lower()}
        assert pids, f"{image} is not running:\n{self.drive.windows()}"
        for pid in pids:
            subprocess.run([WINE, "taskkill", "/f", "/pid", pid], env=self.wine.env, timeout=60,
                           stdin=subprocess.DEVNULL, capture_output=True, check=True)

    def carries_on(self) -> None:
        """Tracking goes on: Avor keeps being asked and the window follows."""
        asked = len(self.log(AVOR_LOG))
        first = self.drive.named_texts(MAIN_CAPTION)["edAZ"]
        assert wait_until(lambda: len(self.log(AVOR_LOG)) >= asked + 3
                          and self.drive.named_texts(MAIN_CAPTION)["edAZ"] != first, 15, 0.5), (
            f"tracking stopped: azimuth {first!r}, {len(self.log(AVOR_LOG)) - asked} requests since")

    def quit(self) -> None:
        assert self.drive.menu(MAIN_CAPTION, "&Quit")


def settings_state(*folders: Path) -> dict[str, tuple[str, float]]:
    """{folder/name: (checksum, modification time)} of every entry; a folder
    standing in a file's place has the checksum "<folder>"."""
    state = {}
    for folder in folders:
        for p in sorted(folder.iterdir()) if folder.is_dir() else []:
            digest = "<folder>" if p.is_dir() else hashlib.sha256(read_any(p)).hexdigest()
            state[f"{folder.name}/{p.name}"] = (digest, p.stat().st_mtime)
    return state


def age(*folders: Path) -> None:
    for folder in folders:
        for p in folder.iterdir() if folder.is_dir() else []:
            os.utime(p, (LONG_AGO, LONG_AGO))


def read_any(path: Path) -> bytes:
    """A file's bytes, also when it was made unreadable to Skylet."""
    mode = path.stat().st_mode
    try:
        path.chmod(mode | 0o400)
        return path.read_bytes()
    finally:
        path.chmod(mode)


def make_unreadable(path: Path) -> None:
    """chmod 000; where that does not keep this user out (root reads
    anything), a folder in the file's place, which no Windows program opens
    as a file either."""
    path.chmod(0)
    try:
        path.read_bytes()
    except PermissionError:
        return
    path.unlink()
    path.mkdir()


def make_read_only(run: Run, folder: Path) -> None:
    """No new file can be made in the folder: chmod, or for root (whom
    chmod does not stop) the immutable attribute. Undone after the test."""
    folder.chmod(0o555)
    run.cleanups.append(lambda: folder.chmod(0o755))
    probe = folder / "~probe"
    try:
        probe.touch()
    except PermissionError:
        return
    probe.unlink()
    if subprocess.run(["chattr", "+i", str(folder)], capture_output=True).returncode != 0:
        pytest.skip("cannot make a folder read-only for this user")
    run.cleanups.append(lambda: subprocess.run(["chattr", "-i", str(folder)], check=True))


MISSING, UNREADABLE = object(), object()


def break_files(folder: Path, files: dict[str, object]) -> None:
    for name, content in files.items():
        path = folder / name
        if content is MISSING:
            path.unlink()
        elif content is UNREADABLE:
            make_unreadable(path)
        else:
            path.write_bytes(content)


@dataclass
class Row:
    name: str
    profile: Profile
    steps: Callable[[Run], None]  # the fault and what must follow; ends Skylet
    code: int  # 1: ended after a fatal message; 0: through the quit sequence
    script: list[bytes] = field(default_factory=lambda: PASS)
    serial: bool = False
    broken_vantrak: dict[str, object] = field(default_factory=dict)
    broken_own: dict[str, object] = field(default_factory=dict)
    own_folder_missing: bool = False  # Avor is then started by hand


def profile_with(vantrak=None, start=b"+\r\n-\r\n-\r\n-\r\n-\r\n", avor=()) -> Profile:
    return default_profile().replace(vantrak=vantrak,
                                     skylet={"AvorPath.SQF": avor_path(*avor), "SkyletStart.SQF": start})


ROTOR = profile_with({"SatIni.SQF": sat_ini(rot_type=1)}, start_options(rotor="+", dde_rotor="+")) \
    .replace(skylet={"DDERotOpt.SQF": b"i\r\n 2\r\n 5\r\nk\r\n"})
CAT_SERVER = profile_with(start=start_options(cat="+", dde_cat="+"))
TS2000 = profile_with({"SatIni.SQF": sat_ini(3, 20), "KenwoodPar.SQF": b"TS-2000\r\n9600\r\n0\r\n"},
                      start_options(cat="+"))


# --- the rows' steps ---------------------------------------------------------

def rotor_server_dies(run: Run) -> None:
    run.wait_log(ROTOR_LOG, "execute RotServConv 1")
    run.kill("RotServer.exe")
    killed = time.monotonic()
    assert run.box(ROTOR_TIMEOUT + SLACK) == ROTOR_FAILED
    assert time.monotonic() - killed <= ROTOR_TIMEOUT + SLACK


def cat_server_dies(run: Run) -> None:
    run.wait_log(CAT_LOG, "execute CatServConv SF", 2)
    run.kill("CatServer.exe")
    notice_once_and_carry_on(run)
    run.quit()


def notice_once_and_carry_on(run: Run, first_line: re.Pattern | str = CAT_REFUSED) -> None:
    lines = run.box(SLACK + 5, answer=False)
    assert len(lines) == 2 and re.match(first_line, lines[0]) and lines[1] == RETRY, lines
    run.carries_on()  # also while the notice waits for the operator
    assert run.drive.msgbox(5) is not None
    run.no_box(4)  # every record fails again, and is not told again
    run.carries_on()


def cat_server_refuses_then_takes_again(run: Run) -> None:
    run.wait_log(CAT_LOG, "execute CatServConv SF", 2)
    refuse = run.wine.drive_c("C:\\Vantrak\\CatServer.refuse")
    refuse.write_bytes(b"")
    notice_once_and_carry_on(run)
    assert any(e.startswith("refused execute CatServConv SF") for e in run.log(CAT_LOG))
    refuse.unlink()
    taken = sum(e.startswith("execute CatServConv SF") for e in run.log(CAT_LOG))
    run.wait_log(CAT_LOG, "execute CatServConv SF", taken + 2, seconds=10)
    run.quit()


def avor_hangs(run: Run) -> None:
    # Avor's first answer comes long after the link's time-out; its window
    # stays. The first pull is a second after the window came up.
    main_window_up(run.drive)
    up = time.monotonic()
    run.no_box(TRACKING_TIMEOUT - 2 * SLACK)
    assert run.box(4 * SLACK) == TRACKING_LOST
    assert time.monotonic() - up <= TRACKING_TIMEOUT + 2 * SLACK


def serial_line_vanishes(run: Run) -> None:
    assert wait_until(lambda: run.line.data().count(b"FA") >= 2, 20, 0.2), run.line.data()
    stop_process(run.line.proc)
    notice_once_and_carry_on(run, r"^Die Ausgabe an den Transceiver \(COM3\) ist fehlgeschlagen\.$")
    run.quit()


def settings_told(run: Run, expected: list[tuple[str, str]]) -> None:
    """The one message at start naming each file with its problem."""
    lines = run.box(30, "settings")
    assert lines[0] == SETTINGS_HEADER and lines[-1] == SETTINGS_FOOTER, lines
    told = [tuple(line.rsplit("\\", 1)[-1].split(": ", 1)) for line in lines[1:-1]]
    assert told == expected, lines


def settings_told_and_carry_on(expected: list[tuple[str, str]],
                               then: list[str] | None = None) -> Callable[[Run], None]:
    def steps(run: Run) -> None:
        settings_told(run, expected)
        if then:
            assert run.box(30, "then") == then
        main_window_up(run.drive)  # and Skylet goes on with empty values
        run.carries_on()
        run.quit()
    return steps


def own_folder_read_only(run: Run) -> None:
    main_window_up(run.drive)
    make_read_only(run, run.own)
    assert run.drive.menu(MAIN_CAPTION, "&Cat")
    assert run.drive.wait_window("Catsteuerung", 10), run.drive.windows()
    assert run.drive.click("Catsteuerung", "cmdIntVStore")
    assert_not_stored(run.box(10, "intv"), "DDEIntVCat.SQF")
    assert run.drive.close("Catsteuerung")
    run.carries_on()
    run.quit()
    assert_not_stored(run.box(10, "position"), "SkyletPos.SQF")


def own_folder_missing(run: Run) -> None:
    settings_told(run, [(name, "Datei nicht gefunden") for name in (
        "AvorPath.SQF", "SkyletPos.SQF", "DDEParkPos.SQF", "SkyletStart.SQF", "DDEIntVCat.SQF",
        "DDERotOpt.SQF")])
    main_window_up(run.drive)
    run.carries_on()
    run.quit()
    assert_not_stored(run.box(10, "position"), "SkyletPos.SQF")
    assert not run.own.exists(), "Skylet made its folder"


def assert_not_stored(lines: list[str], name: str) -> None:
    assert len(lines) == 3, lines
    assert re.match(r"^[A-Z]:\\.*\\Skylet\\" + re.escape(name) + " kann nicht gespeichert werden:$",
                    lines[0]), lines
    assert lines[2] == "Die bisherige Datei bleibt unver\u00e4ndert.", lines


# Records Avor should never send, each between well-formed ones: a name and
# modes of the bytes 0x80..0xFF, no trailing character, tags only, a record
# of 1 MiB, numbers "1e308", "nan" and "-0". The last two are cut like any
# record: what they hold is shown as it came and computed with.
HIGH = bytes(range(0x80, 0x100))
HOSTILE = ([b"**"] * 2
           + [b"SN" + HIGH + b" AZ10.0 EL20.0 UP145950000 UM\xe4\xf6 DN435800000 DM\xfc\xdf MA1\r"] * 4
           + [b"SNAO-7 AZ11.0 EL21.0 UP145950300 UMUSB DN435799700 DMLSB MA129"] * 4
           + [b"SNAZELUPUMDNDMMA"] * 2
           + [b"SNAO-7 AZ12.0 EL22.0 UP145950600 UMUSB DN435799400 DMLSB MA" + b"7" * (1 << 20) + b"\r"] * 2
           + [b"SNAO-7 AZ1e308 ELnan UP145950900 UMUSB DN435799100 DMLSB MA-0\r"] * 4
           + [b"SNAO-7 AZ-0 EL-0 UP-00000 UMUSB DN1e308000 DMLSB MAnan\r"] * 4
           + [b"**"] + [b"SNAO-7 AZ13.0 EL23.0 UP145951200 UMUSB DN435798800 DMLSB MA130\r"])
WINDOWS_1252 = {b: (bytes([b]).decode("cp1252", errors="ignore") or chr(b)) for b in HIGH}
HIGH_NAME = " " + "".join(WINDOWS_1252[b] for b in HIGH) + " "
BLANK = shown(" No Satellite", "", "", "", "", "", "", "")
PICTURES = [
    shown("", "", "", "", "", "", "", ""),
    BLANK,
    shown(HIGH_NAME, "10.0", "20.0", "435800.000", "145950.000", "\u00fc\u00df", "\u00e4\u00f6", "1"),
    # The last character is dropped, whatever it is.
    shown(HIGH_NAME, "11.0", "21.0", "435799.700", "145950.300", "\u00fc\u00df", "\u00e4\u00f6", "12"),
    shown(HIGH_NAME, "1e308", "nan", "435799.100", "145950.900", "\u00fc\u00df", "\u00e4\u00f6", "-0"),
    shown(HIGH_NAME, "-0", "-0", "1" + "0" * 308 + ".000", "000000.000", "\u00fc\u00df", "\u00e4\u00f6",
          "nan"),
    BLANK,
    shown(" AO-7 ", "13.0", "23.0", "435798.800", "145951.200", "LSB", "USB", "130"),
]


def hostile_records(run: Run) -> None:
    main_window_up(run.drive)
    # Each reading is one of the pictures, in their order; skipped records
    # leave the picture before them.
    reached, seen = 0, set()
    deadline = time.monotonic() + 2 * len(HOSTILE) + 30
    while reached < len(PICTURES) - 1 and time.monotonic() < deadline:
        now = boxes(run.drive)
        later = [i for i in range(reached, len(PICTURES)) if PICTURES[i] == now]
        assert later, f"after picture {reached} the window shows {now}"
        reached = later[0]
        seen.add(reached)
    assert seen >= {2, 3, 4, 5, 7}, f"pictures seen: {sorted(seen)}, now {boxes(run.drive)}"
    # The frequency of 1e308 kHz fits no command: told once, and on it goes.
    lines = run.box(5)
    assert "1E+308" in lines[0] and lines[1:] == [RETRY], lines
    run.no_box(2)
    commands = [e[len("execute "):] for e in run.log(ROTOR_LOG) if e.startswith("execute ")]
    assert "CatServConv SM\u00fc\u00df \u00e4\u00f6" in commands, "the modes' bytes changed"
    positions = [c.split(" ", 1)[1] for c in commands if c.startswith("RotServConv ") and "Client" not in c]
    assert positions and all(re.match(r"^\d+ \d+$", p) for p in positions), positions
    run.quit()


# --- the table ---------------------------------------------------------------

ROWS = [
    Row("rotor server dies", ROTOR, rotor_server_dies, code=1),
    Row("CAT server dies", CAT_SERVER, cat_server_dies, code=0),
    Row("CAT server refuses, then takes again", CAT_SERVER, cat_server_refuses_then_takes_again,
        code=0),
    Row("Avor hangs", profile_with(avor=("--delay-first", "600000")), avor_hangs, code=0),
    Row("serial line vanishes", TS2000, serial_line_vanishes, code=0, serial=True),
    Row("settings files broken", profile_with(start=start_options(dde_rotor="+")),
        settings_told_and_carry_on([
        ("TRX.SQF", "Datei nicht gefunden"),
        ("KenwoodPar.SQF", "zu wenige Felder, Feld 1 fehlt"),
        ("SatIni.SQF", "zu wenige Felder, Feld 6 fehlt"),
        ("IcomPar.SQF", "Datei kann nicht gelesen werden"),
        ("DDERotOpt.SQF", "Feld 2 ist keine Zahl: \"??????????\""),
        ("DDERotOpt.SQF", "Feld 3 ist keine Zahl: \"??\""),
        ("StandPos.SQF", "Datei kann nicht gelesen werden"),
    ], then=["Fehler beim Laden des Rotor-Serverprogramms,",
             "stellen Sie sicher,da\u00df sich C:\\Vantrak\\Rot?Server",
             " und die ben\u00f6tigten Hilfsdateien im Vantrak-Verzeichnis befinden."]),
        code=0,
        broken_vantrak={"TRX.SQF": MISSING, "KenwoodPar.SQF": b"",
                        "SatIni.SQF": sat_ini()[:29], "IcomPar.SQF": UNREADABLE,
                        "StandPos.SQF": b"Nord,0\r\n" * (10 << 17),
                        "RotorServer.SQF": b"C:\\Vantrak\\Rot\0Server\r\n"},
        broken_own={"DDERotOpt.SQF": b"w\r\n" + bytes(range(256)) * 16}),
    Row("hostile records", ROTOR.replace(skylet={
        "SkyletStart.SQF": start_options(rotor="+", cat="+", dde_rotor="+", dde_cat="+"),
        "DDERotOpt.SQF": b"w\r\n 2\r\n 4\r\nk\r\n"}), hostile_records, code=0, script=HOSTILE),
    Row("own folder read-only", profile_with(), own_folder_read_only, code=0),
    Row("own folder missing", profile_with(), own_folder_missing, code=0,
        own_folder_missing=True),
]


def crash_windows(drive) -> list[list[str]]:
    """Wine's crash dialog is a window of winedbg ("Program Error")."""
    return [r for r in drive.run("windows").records
            if r[5].lower() == "winedbg.exe" or "Program Error" in r[2]]


@pytest.mark.parametrize("row", ROWS, ids=[r.name for r in ROWS])
def test_a_fault_ends_as_documented_or_skylet_carries_on(row, profile, partner, serial_line, skylet,
                                                         drive, wine, vantrak_dir, skylet_dir, shot):
    profile(row.profile)
    write_script(wine, row.script)
    break_files(vantrak_dir, row.broken_vantrak)
    break_files(skylet_dir, row.broken_own)
    if row.own_folder_missing:
        partner("C:\\Avor\\Avor.exe", "--script", "C:\\Avor\\pass.txt", "--log", AVOR_LOG)
        assert wait_until(lambda: "start" in partner_log(wine.drive_c(AVOR_LOG)), 20, 0.2)
        for p in skylet_dir.iterdir():
            p.unlink()
        skylet_dir.rmdir()
    age(vantrak_dir, skylet_dir)
    before = settings_state(vantrak_dir, skylet_dir)
    line = serial_line(3) if row.serial else None

    run = Run(wine, drive, shot, line, skylet_dir)
    skylet.start()
    try:
        row.steps(run)
        assert skylet.wait_exit(20), f"Skylet still runs 20 s after its end began:\n{drive.windows()}"
    finally:
        crashed = crash_windows(drive)
        for undo in reversed(run.cleanups):
            undo()
    assert not crashed, f"crash dialog: {crashed}"
    assert skylet.proc.returncode == row.code

    # Nothing of Vantrak's is written, and of Skylet's own files only the
    # window position by the quit sequence, with the same bytes (the window
    # was not moved); no temporary file is left.
    after = settings_state(vantrak_dir, skylet_dir)
    assert after.keys() == before.keys(), f"files came or went: {after.keys() ^ before.keys()}"
    assert [k for k in after if after[k][0] != before[k][0]] == [], "settings files changed"
    written = {k for k in after if after[k][1] != before[k][1]}
    assert written <= ({"Skylet/SkyletPos.SQF"} if row.code == 0 else set()), f"written: {written}"
