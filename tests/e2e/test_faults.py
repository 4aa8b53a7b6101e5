"""Faults at start-up and while Skylet runs, a row each: its outcome, no crash, no settings file changed."""

import re
import shutil
import subprocess
import time
from collections import namedtuple
from types import SimpleNamespace

import pytest

import helpers
from helpers import MAIN_CAPTION, WINE, boxes, follow, record, shown, stop_process, wait_until
from profiles import sat_ini, start_options, station, ts2000
from test_radio_output import yaesu

AVOR_LOG, CAT_LOG, ROTOR_LOG = "C:\\Avor\\Avor.log", "C:\\Vantrak\\CatServer.log", "C:\\Vantrak\\RotServer.log"
SENT = "execute CatServConv SF"
LOST = ["Der DDE-Link zu Avor ist abgebrochen worden,", "Skylet wird deshalb beendet."]
RETRY = "Skylet versucht es mit dem n\u00e4chsten Datensatz wieder."
# The rotor link's time-out; slack for Wine starting a program, a record a second, a loaded machine.
ROTOR_TIMEOUT, SLACK = 20.0, 8.0
# Each record moves the antenna and both frequencies by more than a step: each has something to send.
PASS = [b"**"] + [record(f"{100 + i}.0", f"{10 + i / 2:.1f}", 145950000 + 300 * i, 435800000 - 300 * i)
                  for i in range(150)]


class Run(SimpleNamespace):
    """What a row reaches (wine, drive, shot, line, own folder); its steps: these methods and the driver's."""

    def __getattr__(self, name: str):
        return getattr(self.drive, name)

    def told(self, expected: list, seconds: float = 10, answer: bool = True) -> None:
        helpers.told(self.drive, self.shot, expected, seconds, answer)

    def told_once(self, expected: list) -> None:  # told, it carries on, and is not told again
        self.told(expected, SLACK + 5, answer=False)
        self.carries_on()
        assert self.drive.msgbox(5) and self.drive.no_msgbox(4)
        self.carries_on()

    def no_main_window(self) -> None:
        assert not self.drive.wait_window(MAIN_CAPTION, 0)

    def events(self, log: str, expected: list[str], *kinds: str) -> None:  # exactly these, once all came
        assert wait_until(lambda: self.wine.log(log, *kinds) == expected, 10, 0.2), self.wine.log(log, *kinds)

    def asked(self, times: int) -> None:  # one Avor only, linked and asked so many times
        log = self.wine.log(AVOR_LOG, "start", "connect", "request")
        assert log[:2] == ["start", "connect Tracking"] and len(log) == times + 2, log

    def count(self, log: str, prefix: str = "") -> int:
        return len(self.wine.log(log, prefix))

    def logged(self, log: str, prefix: str, more: int = 1, seconds: float = 30) -> None:  # than now
        count = self.count(log, prefix) + more
        assert wait_until(lambda: self.count(log, prefix) >= count, seconds, 0.3), f"{prefix!r} x{more}"

    def kill(self, image: str) -> None:  # the hard way, with no goodbye to its clients
        subprocess.run([WINE, "taskkill", "/f", "/im", image], env=self.wine.env, timeout=60,
                       stdin=subprocess.DEVNULL, capture_output=True, check=True)

    def refuse(self, on: bool) -> None:
        marker = self.wine.drive_c("C:\\Vantrak\\CatServer.refuse")
        marker.write_bytes(b"") if on else marker.unlink()

    def cut_line(self) -> None:
        assert wait_until(lambda: self.line.data().count(b"FA") >= 2, 20, 0.2), self.line.data()
        stop_process(self.line.proc)

    def carries_on(self) -> None:  # Avor keeps being asked and the window follows
        asked, az = self.count(AVOR_LOG), self.drive.named_texts(MAIN_CAPTION)["edAZ"]
        assert wait_until(lambda: self.count(AVOR_LOG) >= asked + 3
                          and self.drive.named_texts(MAIN_CAPTION)["edAZ"] != az, 15, 0.5), az

    def read_only(self) -> None:  # chmod does not stop root; the immutable attribute does
        self.own.chmod(0o555)
        subprocess.run(["chattr", "+i", str(self.own)], capture_output=True)
        try:  # a container without the immutable attribute lets root write all the same
            (self.own / "probe.tmp").write_bytes(b"")
        except OSError:
            return
        (self.own / "probe.tmp").unlink()
        pytest.skip("this machine cannot make a folder read-only for root")

    def hostile(self) -> None:
        seen = follow(self.drive, PICTURES, 2 * sum(n for _, n, _ in HOSTILE) + 30)
        assert seen >= {2, 3, 4, 5, 7}, f"pictures seen: {sorted(seen)}, now {boxes(self.drive)}"
        assert self.drive.no_msgbox(2)
        log = self.wine.log(ROTOR_LOG)
        # The CAT server's command is text: 1e308 kHz goes out with all its digits.
        assert any(re.fullmatch(r"execute CatServConv SF10{308}[.,]000 0{7}[.,]000", e) for e in log), log
        assert "execute CatServConv SM\u00fc\u00df \u00e4\u00f6" in log, "the modes' bytes changed"
        positions = [e.split(" ", 2)[2] for e in log if re.match("execute RotServConv (?!Client)", e)]
        assert positions and all(re.fullmatch(r"\d+ \d+", p) for p in positions), positions


def settings_told(*problems: str) -> list:
    return ["Einige Einstellungsdateien fehlen oder sind fehlerhaft:",
            *[re.compile(r"[A-Za-z]:\\.*\\" + re.escape(problem)) for problem in problems],
            "Skylet arbeitet ohne diese Werte weiter."]


def rotor_server_told(path: str) -> list:
    return ["Fehler beim Laden des Rotor-Serverprogramms,", f"stellen Sie sicher,da\u00df sich {path}",
            " und die ben\u00f6tigten Hilfsdateien im Vantrak-Verzeichnis befinden."]


def not_stored(name: str) -> list:
    return [re.compile(rf"[A-Z]:\\.*\\Skylet\\{re.escape(name)} kann nicht gespeichert werden:"),
            re.compile(".*"), "Die bisherige Datei bleibt unver\u00e4ndert."]


# Records Avor should never send, each (so many times) with the picture it leaves (None: skipped).
HIGH = bytes(range(0x80, 0x100))  # bytes Windows-1252 leaves undefined keep their value:
HIGH_NAME = " " + "".join(bytes([b]).decode("cp1252", errors="ignore") or chr(b) for b in HIGH) + " "
BLANK, ODD = shown(" No Satellite", "", "", "", "", "", "", ""), ("\u00fc\u00df", "\u00e4\u00f6")
HOSTILE = [
    (b"**", 2, BLANK),
    (b"SN" + HIGH + b" AZ10.0 EL20.0 UP145950000 UM\xe4\xf6 DN435800000 DM\xfc\xdf MA1\r", 4,
     shown(HIGH_NAME, "10.0", "20.0", "435800.000", "145950.000", *ODD, "1")),
    (b"SNAO-7 AZ11.0 EL21.0 UP145950300 UMUSB DN435799700 DMLSB MA129", 4,
     shown(HIGH_NAME, "11.0", "21.0", "435799.700", "145950.300", *ODD, "12")),
    (b"SNAZELUPUMDNDMMA", 2, None),
    (b"SNAO-7 AZ12.0 EL22.0 UP145950600 UMUSB DN435799400 DMLSB MA" + b"7" * (1 << 20) + b"\r", 2, None),
    (b"SNAO-7 AZ1e308 ELnan UP145950900 UMUSB DN435799100 DMLSB MA-0\r", 4,
     shown(HIGH_NAME, "1e308", "nan", "435799.100", "145950.900", *ODD, "-0")),
    (b"SNAO-7 AZ-0 EL-0 UP-00000 UMUSB DN1e308000 DMLSB MAnan\r", 4,
     shown(HIGH_NAME, "-0", "-0", "1" + "0" * 308 + ".000", "000000.000", *ODD, "nan")),
    (b"**", 1, BLANK),
    (b"SNAO-7 AZ13.0 EL23.0 UP145951200 UMUSB DN435798800 DMLSB MA130\r", 1,
     shown(" AO-7 ", "13.0", "23.0", "435798.800", "145951.200", "LSB", "USB", "130")),
]
PICTURES = [shown(*[""] * 8)] + [picture for _, _, picture in HOSTILE if picture]


# steps: (Run method, arguments) up to the end; code 1: a fatal message ended it; gone: folders removed,
# files made unreadable (a folder in their place); partners: started by hand before Skylet.
Row = namedtuple("Row", "name profile steps code script serial gone partners",
                 defaults=(0, PASS, False, (), ()))
CAT_SERVER, ROTOR_INI = station(start_options(cat="+", dde_cat="+")), {"SatIni.SQF": sat_ini(rot_type=1)}
CAT_REFUSED = [re.compile(r'Der Catserver hat "SF\d{7}\.\d{3} \d{7}\.\d{3}" nicht angenommen\.'), RETRY]
UP, QUIT = ("wait_window", MAIN_CAPTION, 30), ("menu", MAIN_CAPTION, "&Quit")
CARRY_ON_AND_QUIT = [UP, ("carries_on",), QUIT]
NOT_STORED_POSITION = ("told", not_stored("SkyletPos.SQF"))
ROWS = [
    Row("Avor cannot be started", station(skylet={"AvorPath.SQF": b"C:\\Nirgends\\Avor.exe\r\n"}), [
        ("told", ["Avor kann unter dem im File 'AvorPath.SQF' angegebenen Pfad nicht ",
                  "geladen werden. Geben Sie dort den Pfad und als Namen: Avor an.",
                  "Skylet wird jetzt beendet."], 30), ("no_main_window",)], 1),
    Row("CAT port cannot be opened", station(vantrak={**yaesu("FT-736R", 4800), "SatIni.SQF": sat_ini(7)}), [
        ("told", ["Das Programm kann nicht mehrfach gestartet werden",  # no COM7 in the prefix
                  "oder gleichzeitig mit Vantrak oder Tessaro laufen.", re.compile("COM7.*")], 30)], 1),
    Row("rotor server dies", station(start_options(rotor="+", dde_rotor="+"), ROTOR_INI,
                                     {"DDERotOpt.SQF": b"i\r\n 2\r\n 5\r\nk\r\n"}),
        [("logged", ROTOR_LOG, "execute RotServConv 1"), ("kill", "RotServer.exe"),
         ("told", ["Fehler bei der Ausgabe an den Rotorserver,", "starten Sie Skylet neu."],
          ROTOR_TIMEOUT + SLACK)], 1),
    Row("CAT server refuses, then takes again", CAT_SERVER,
        [("logged", CAT_LOG, SENT, 2), ("refuse", True), ("told_once", CAT_REFUSED),
         ("logged", CAT_LOG, "refused " + SENT), ("refuse", False), ("logged", CAT_LOG, SENT, 2, 10),
         QUIT]),
    # Avor, and a CAT server no settings file names, run already: both linked (the server by topic alone),
    # the record sent on; Avor's end ends Skylet through the quit.
    Row("running partners linked, then Avor ends", station(start_options(cat="+", dde_cat="+")), [
        UP, ("no_msgbox", 1), ("told", LOST, 20), ("asked", 4), ("events", CAT_LOG, []),
        ("events", "C:\\Other\\OtherCat.log", ["connect CatServConv", *[f"execute CatServConv {e}" for e in (
            "ClientOn", "RaOpen", "SMLSB USB", "SF0435800.000 0145950.000", "RaClose")]], "connect", "exec")],
        script=[record()], partners=[
            ("C:\\Avor\\Avor.exe", "--script", "C:\\Avor\\pass.txt", "--log", AVOR_LOG, "--stop-after", "4"),
            ("C:\\Other\\OtherCat.exe", "--topics", "CatServConv")]),
    Row("serial line vanishes", station(start_options(cat="+"), ts2000()),
        [("cut_line",), ("told_once", ["Die Ausgabe an den Transceiver (COM3) ist fehlgeschlagen.", RETRY]),
         QUIT], serial=True),
    Row("settings files broken", station(start_options(dde_rotor="+"), {
        "KenwoodPar.SQF": b"", "SatIni.SQF": sat_ini()[:29], "StandPos.SQF": b"Nord,0\r\n" * (10 << 17),
        "RotorServer.SQF": b"C:\\Vantrak\\Rot\0Server\r\n", "TRX.SQF": None},
        {"DDERotOpt.SQF": b"w\r\n" + bytes(range(256)) * 16}), [
        ("told", settings_told(
            "TRX.SQF: Datei nicht gefunden", "KenwoodPar.SQF: zu wenige Felder, Feld 1 fehlt",
            "SatIni.SQF: zu wenige Felder, Feld 6 fehlt", "IcomPar.SQF: Datei kann nicht gelesen werden",
            'DDERotOpt.SQF: Feld 2 ist keine Zahl: "??????????"', 'DDERotOpt.SQF: Feld 3 ist keine Zahl: "??"',
            "StandPos.SQF: Datei kann nicht gelesen werden"), 30),
        ("told", rotor_server_told("C:\\Vantrak\\Rot?Server"), 30),
        *CARRY_ON_AND_QUIT],
        gone=["Vantrak/IcomPar.SQF"]),
    # Only the CAT topic answers under the rotor server's name: no rotor link, no greeting on the CAT link.
    Row("a file missing and no rotor server", station(start_options(cat="+", dde_rotor="+", dde_cat="+"), {
        "TRX.SQF": None, "SatIni.SQF": sat_ini(rot_type=0), "RotorServer.SQF": b"C:\\Nirgends\\RotServer\r\n"}),
        [("told", settings_told("TRX.SQF: Datei nicht gefunden"), 30),
        ("told", rotor_server_told("C:\\Nirgends\\RotServer"), 30), UP, ("no_msgbox", 2),
        ("events", ROTOR_LOG, ["connect CatServConv", "execute CatServConv RaOpen"]), QUIT],
        script=[b"**"], partners=[("C:\\Vantrak\\RotServer.exe", "--topics", "CatServConv")]),
    Row("hostile records", station(start_options("+", "+", "-", "+", "+"), ROTOR_INI,
                                   {"DDERotOpt.SQF": b"w\r\n 2\r\n 4\r\nk\r\n"}),
        [UP, ("hostile",), QUIT], script=[r for r, n, _ in HOSTILE for _ in range(n)]),
    Row("own folder read-only", station(), [
        UP, ("read_only",), ("menu", MAIN_CAPTION, "&Cat"), ("wait_window", "Catsteuerung", 10),
        ("click", "Catsteuerung", "cmdIntVStore"), ("told", not_stored("DDEIntVCat.SQF")),
        ("close", "Catsteuerung"), *CARRY_ON_AND_QUIT, ("told", not_stored("SkyletPos.SQF"))]),
    Row("own folder missing", station(), [
        ("told", settings_told(*[f"{name}: Datei nicht gefunden" for name in (
            "AvorPath.SQF", "SkyletPos.SQF", "DDEParkPos.SQF", "SkyletStart.SQF", "DDEIntVCat.SQF",
            "DDERotOpt.SQF")]), 30),
        *CARRY_ON_AND_QUIT, NOT_STORED_POSITION], gone=["Skylet"]),
]


@pytest.mark.parametrize("row", ROWS, ids=[r.name for r in ROWS])
def test_a_fault_ends_as_documented_or_skylet_carries_on(row, profile, partner, serial_line, skylet,
                                                         drive, wine, shot):
    vantrak_dir, skylet_dir = wine.vantrak_dir, wine.skylet_dir
    profile(row.profile, row.script)
    for path in [vantrak_dir.parent / name for name in row.gone]:
        shutil.rmtree(path) if path.is_dir() else path.unlink()
        if path.suffix:  # a file gives way to a folder
            path.mkdir()
    for args in row.partners:
        partner(*args)
    time.sleep(2 if row.partners else 0)  # they register their names
    if any(args[0] == "C:\\Avor\\Avor.exe" for args in row.partners):  # else Skylet starts a second one
        assert wait_until(lambda: "start" in wine.log(AVOR_LOG), 20, 0.2)
    if not (skylet_dir / "AvorPath.SQF").exists():  # Skylet cannot start Avor: the operator does
        partner("C:\\Avor\\Avor.exe", "--script", "C:\\Avor\\pass.txt", "--log", AVOR_LOG)
        assert wait_until(lambda: "start" in wine.log(AVOR_LOG), 20, 0.2)
    before = settings_state(vantrak_dir, skylet_dir)
    run = Run(wine=wine, drive=drive, shot=shot, own=skylet_dir, line=serial_line(3) if row.serial else None)
    skylet.start(window=False)
    try:
        for action, *args in row.steps:  # a driver's command must not fail, nor a message come
            assert getattr(run, action)(*args) in (None, True), (action, args)
        assert skylet.wait_exit(20), f"Skylet still runs 20 s after its end began:\n{drive.windows()}"
    finally:
        crashed = [r for r in drive.run("windows").records  # Wine's crash dialog
                   if r[5].lower() == "winedbg.exe" or "Program Error" in r[2]]
        if skylet_dir.exists():  # writable again after the read-only row
            subprocess.run(["chattr", "-i", str(skylet_dir)], capture_output=True)
            skylet_dir.chmod(0o755)
    assert not crashed and skylet.proc.returncode == row.code, (crashed, skylet.proc.returncode)
    # Only the quit sequence writes, and always, the window position with the same bytes; no temporary file.
    after = settings_state(vantrak_dir, skylet_dir)
    assert after.keys() == before.keys(), f"files came or went: {after.keys() ^ before.keys()}"
    assert [k for k in after if after[k][0] != before[k][0]] == [], "settings files changed"
    written = {k for k in after if after[k][1] != before[k][1]}
    quit_stores = row.code == 0 and NOT_STORED_POSITION not in row.steps
    assert written == ({skylet_dir / "SkyletPos.SQF"} if quit_stores else set()), f"written: {written}"


def settings_state(*folders) -> dict:
    return {p: (None, 0) if p.is_dir() else (p.read_bytes(), p.stat().st_mtime_ns)
            for d in folders if d.exists() for p in [d, *d.iterdir()]}
