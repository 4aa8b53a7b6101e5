"""Skylet's own options: a correction remembered from one run to the next, the dialog in the system menu, the
radio's dial followed."""

import re

import pytest

from helpers import MAIN_CAPTION, dialog, quit_skylet, record, told, wait_until
from profiles import sat_ini, start_options, station, ts2000
from test_radio_output import ICOM

BAD = b"L,1x0,*,AO-7\r\n"


def test_a_correction_comes_back_at_the_next_start_and_a_bad_file_is_kept(
        profile, serial_line, skylet, drive, wine, shot, check):
    profile(station(start_options(cat="+"), ts2000(), {"SkyletKorr.SQF": BAD}), [record()])
    line = serial_line(3)

    def sent(count: int, since: int = 0) -> list[str]:
        wait_until(lambda: line.data()[since:].count(b"F") >= count, 10, 0.1)
        return [c + ";" for c in line.data()[since:].decode().split(";") if c.startswith(("FA", "FB"))]

    skylet.start(window=False)  # the message comes before the window
    told(drive, shot, ["Einige Einstellungsdateien fehlen oder sind fehlerhaft:", re.compile(
        r".*\\Skylet\\SkyletKorr\.SQF: Zeile 1 ist keine Korrektur: \"L,1x0,\*,AO-7\"; alle Korrekturen "
        r"beginnen bei 0, die Datei ist als SkyletKorr-defekt\.SQF aufbewahrt"), "Skylet arbeitet ohne diese Werte weiter."])
    assert drive.wait_window(MAIN_CAPTION, 30)
    check("the bad file kept aside", (wine.skylet_dir / "SkyletKorr-defekt.SQF").read_bytes() == BAD)
    check("from 0", sent(2) == ["FA00435800000;", "FB00145950000;"], sent(2))
    for _ in range(3):
        assert drive.key(MAIN_CAPTION, "picFocus", 39)
    check("three steps sent", wait_until(lambda: sent(4)[-2:] == ["FA00435800300;", "FB00145950100;"], 10), sent(4))
    quit_skylet(skylet, drive)
    stored = (wine.skylet_dir / "SkyletKorr.SQF").read_bytes()
    check("stored by name and kind", stored == b"L,300,*,AO-7\r\n", stored)

    # The next start: Avor, still running, sends the same satellite again.
    before = len(line.data())
    skylet.proc = None
    skylet.start()
    check("no message", drive.no_msgbox(1))
    check("sent from the first record", sent(2, before)[:2] == ["FA00435800300;", "FB00145950100;"],
          sent(2, before))
    check("shown under Korr", wait_until(lambda: (drive.named_texts(MAIN_CAPTION) or {}).get("lblKorr") == "300", 5))

    dialog(drive, "Skylet-&Optionen...", "Skylet-Optionen", system_menu=True)
    shot("optionen")
    assert drive.click("Skylet-Optionen", "chkKorrMerken") and drive.click("Skylet-Optionen", "cmdOK")
    options = wine.skylet_dir / "SkyletOptionen.SQF"
    check("off, stored", wait_until(lambda: options.exists() and options.read_bytes() == b"-\r\n-\r\n", 5))
    assert drive.key(MAIN_CAPTION, "picFocus", 37)
    check("a step, nothing remembered", wait_until(lambda: sent(4, before)[-2:] == ["FA00435800200;", "FB00145950067;"], 10)
          and (wine.skylet_dir / "SkyletKorr.SQF").read_bytes() == stored, sent(4, before))
    quit_skylet(skylet, drive)


def kenwood() -> tuple:
    """A Kenwood's two VFOs, read as set; each set logged as (receive side?, Hz)."""
    vfo, log = {"FA": 0, "FB": 0}, []

    def reply(command: bytes) -> bytes:
        text = command[:-1].decode("ascii", "replace")
        if text in vfo:
            return f"{text}{vfo[text]:011d};".encode()
        if text[:2] in vfo and text[2:].isdigit():
            vfo[text[:2]] = int(text[2:])
            log.append((text[:2] == "FA", vfo[text[:2]]))
        return b""
    return (b";", reply), vfo, "FA", log


def civ() -> tuple:
    """An IC-910H's two sides at 60 and 62 on a CI-V bus: echo, then FB or the frequency read's answer."""
    vfo, log = {0x60: 0, 0x62: 0}, []
    bcd = lambda hz: bytes((hz // 10 ** (2 * i) % 10) | (hz // 10 ** (2 * i + 1) % 10) << 4 for i in range(5))

    def reply(frame: bytes) -> bytes:
        if len(frame) < 6 or frame[:2] != b"\xfe\xfe" or frame[2] not in vfo:
            return b""
        to, command = frame[2], frame[4]
        if command == 0x03:
            return frame + bytes([0xFE, 0xFE, 0xE0, to, 0x03]) + bcd(vfo[to]) + b"\xfd"
        if command == 0x05:
            vfo[to] = sum((b & 15) * 10 ** (2 * i) + (b >> 4) * 10 ** (2 * i + 1) for i, b in enumerate(frame[5:10]))
            log.append((to == 0x60, vfo[to]))
        return frame + bytes([0xFE, 0xFE, 0xE0, to, 0xFB, 0xFD])
    return (b"\xfd", reply), vfo, 0x60, log


DIALS = {"TS-2000": ({"KenwoodPar.SQF": b"TS-2000\r\n9600\r\n0\r\n"}, kenwood),
         "IC-910H": ({**ICOM, "IcomName.SQF": b"IC-910H\r\n"}, civ)}


@pytest.mark.parametrize("model", DIALS)
def test_a_turn_of_the_dial_moves_the_uplink_against_it(model, profile, serial_line, skylet, drive, check):
    # Doppler moves the downlink 200 Hz a record; the operator turns the knob 1 kHz up.
    vantrak, radio = DIALS[model]
    passing = [record(dn=435800000 + 200 * n) for n in range(40)]
    profile(station(start_options(cat="+"), {**vantrak, "SatIni.SQF": sat_ini(3, 50)},
                    {"SkyletOptionen.SQF": b"+\r\n+\r\n"}), passing)
    line = serial_line(3)
    line.far_end, vfo, rx, log = radio()
    skylet.start()
    # The knob is turned right after a pair was sent, as a real one can be.
    assert wait_until(lambda: len(log) >= 4 and not log[-1][0], 20), log
    vfo[rx] = turned_to = vfo[rx] + 1000
    turned = len(log)
    check("the downlink where the knob put it, Doppler going on, the uplink 1 kHz lower in the same record",
          wait_until(lambda: log[turned:turned + 2] == [(True, turned_to + 200), (False, 145949000)], 10),
          log[turned:])
    quit_skylet(skylet, drive)
