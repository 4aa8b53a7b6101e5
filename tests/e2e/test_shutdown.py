"""Quitting, per radio family and link set-up: what the radio on the pty and
the server programs receive at quit, how long the sequence waits before the
program ends, and whether the window position is stored."""

from __future__ import annotations

import os
import time
from dataclasses import dataclass, field

import pytest

from helpers import MAIN_CAPTION, partner_log
from profiles import default_profile, sat_ini
from test_main_window import avor_path, write_script
from test_startup_links import main_window_up, start_options

# Far enough in the past that any rewrite shows in the modification time.
LONG_AGO = 978307200  # 2001-01-01
ROTOR_SERVER_LOG = "C:\\Vantrak\\RotServer.log"

KENWOOD = b"Kenwood\r\n"
TS2000 = {"TRX.SQF": KENWOOD, "KenwoodPar.SQF": b"TS-2000\r\n9600\r\n0\r\n",
          "SatIni.SQF": sat_ini(3)}


def icom(model: str, cat_delay_ms: int) -> dict[str, bytes]:
    return {"TRX.SQF": b"Icom\r\n", "IcomPar.SQF": b"9600\r\nH60\r\nH62\r\n",
            "IcomName.SQF": model.encode() + b"\r\n", "SatIni.SQF": sat_ini(3, cat_delay_ms)}


@dataclass
class Row:
    name: str
    vantrak: dict[str, bytes]
    start: bytes  # SkyletStart.SQF
    quit_bytes: bytes | None  # what crosses COM3 at quit; None: no radio on a port
    server_log: str | None = None  # a server program's log,
    server_commands: list[str] = field(default_factory=list)  # what it gets at quit,
    linked: str | None = None  # and the topic Skylet is linked on until then
    min_seconds: float = 0.0  # the waits between the quit request and the end
    quit: str = "menu"  # or "close box", "minimised"
    extra: dict[str, str] = field(default_factory=dict)  # more partner programs


ROWS = [
    # The satellite mode off, then the CAT wait (1 s) before the end.
    Row("IC-910H", icom("IC-910H", 1000), start_options(cat="+"),
        bytes.fromhex("FE FE 60 E0 1A 07 00 FD"), min_seconds=1.0),
    # No frame, but the wait all the same (CAT already off: nothing else waits).
    Row("IC-821H", icom("IC-821H", 1000), start_options(cat="-"), b"", min_seconds=1.0),
    Row("TS-2000", TS2000, start_options(cat="+"), b"SA0010000;"),
    Row("TS-2000 close box", TS2000, start_options(cat="+"), b"SA0010000;", quit="close box"),
    Row("TS-790", {"TRX.SQF": KENWOOD, "KenwoodPar.SQF": b"TS-790\r\n9600\r\n0\r\n",
                   "SatIni.SQF": sat_ini(3)}, start_options(cat="+"), b""),
    Row("FT-736R", {"TRX.SQF": b"Yaesu\r\n", "YaesuPar.SQF": b"H01\r\nH11\r\n4800\r\nFT-736R\r\n",
                    "SatIni.SQF": sat_ini(3)}, start_options(cat="+"), bytes([0x80] * 5)),
    # The CAT server drives the radio: the TS-2000 the start-up opened the
    # port for is left alone. Both links go to the rotor server's program.
    Row("CAT and rotor server", {**TS2000, "SatIni.SQF": sat_ini(3, rot_type=0)},
        start_options(cat="+", dde_rotor="+", dde_cat="+"), b"", ROTOR_SERVER_LOG,
        ["execute CatServConv RaClose", "execute RotServConv Close"], "RotServConv",
        min_seconds=1.0),
    # Arswin, known by its program name in any letter case, takes no executes.
    Row("Arswin", {"SatIni.SQF": sat_ini(rot_type=0), "RotorServer.SQF": b"C:\\Ars\\ArSwIn\r\n"},
        start_options(dde_rotor="+"), None, "C:\\Ars\\ArSwIn.log", [], "RCI",
        extra={"C:\\Ars\\ArSwIn.exe": "Arswin.exe"}),
    # No rotor interface: the start-up opened no rotor link and started no
    # server, and the quit still waits its second.
    Row("rotor link never opened", {}, start_options(dde_rotor="+"), None, ROTOR_SERVER_LOG, [],
        min_seconds=1.0),
    Row("minimised", TS2000, start_options(cat="+"), b"SA0010000;", quit="minimised"),
]


def minimise(drive) -> None:
    """Through the window's system menu, as an operator would: Alt+Space, then
    Minimize (Wine's menu is English under the prefix's C locale)."""
    assert drive.menu(MAIN_CAPTION, "& ")
    time.sleep(0.5)
    assert drive.menu(MAIN_CAPTION, "Mi&nimize")
    time.sleep(0.5)
    rect = drive.rect(MAIN_CAPTION)
    assert rect is not None and rect.left <= -32000, f"not minimised: {rect}"


def commands(wine, log: str) -> list[str]:
    return [e for e in partner_log(wine.drive_c(log)) if e.startswith(("execute", "poke"))]


@pytest.mark.parametrize("row", ROWS, ids=[r.name for r in ROWS])
def test_quit_leaves_radio_and_servers_defined(row, profile, serial_line, skylet, drive, wine,
                                               skylet_dir):
    skylet_files = {"AvorPath.SQF": avor_path(), "SkyletStart.SQF": row.start}
    profile(default_profile().replace(vantrak=row.vantrak, skylet=skylet_files), extra=row.extra)
    write_script(wine, [b"**"])  # no satellite: nothing goes to the radio while it runs
    position = skylet_dir / "SkyletPos.SQF"
    stored = position.read_bytes()
    os.utime(position, (LONG_AGO, LONG_AGO))
    line = serial_line(3) if row.quit_bytes is not None else None
    skylet.start()
    main_window_up(drive)
    time.sleep(0.5)  # the start-up's last bytes reach the far end of the line
    before = line.data() if line else b""
    server_before = commands(wine, row.server_log) if row.server_log else []
    if row.linked:
        assert f"connect {row.linked}" in partner_log(wine.drive_c(row.server_log))

    if row.quit == "minimised":
        minimise(drive)
    asked = time.monotonic()
    if row.quit == "menu":
        assert drive.menu(MAIN_CAPTION, "&Quit")
    else:
        assert drive.close(MAIN_CAPTION)
    assert skylet.wait_exit(20), "Skylet still runs 20 s after the quit request"
    took = time.monotonic() - asked

    assert skylet.proc.returncode == 0, "ended otherwise than through the quit sequence"
    if line:
        assert line.read(1.0)[len(before):].hex(" ") == row.quit_bytes.hex(" ")
    if row.server_log:
        assert commands(wine, row.server_log)[len(server_before):] == row.server_commands
    assert took >= row.min_seconds * 0.95, f"ended {took:.2f} s after the request"
    if row.quit == "minimised":
        assert position.stat().st_mtime == LONG_AGO, "SkyletPos.SQF written from a minimised window"
    else:
        assert position.stat().st_mtime > LONG_AGO + 1, "SkyletPos.SQF was not rewritten"
    assert position.read_bytes() == stored
