"""Skylet's own options: a correction remembered from one run to the next, the dialog in the system menu, the
radio's dial followed."""

import re
import threading
from collections import namedtuple

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
    check("off, stored", wait_until(lambda: options.exists() and options.read_bytes() == b"-\r\n-\r\n-\r\n", 5))
    assert drive.key(MAIN_CAPTION, "picFocus", 37)
    check("a step, nothing remembered", wait_until(lambda: sent(4, before)[-2:] == ["FA00435800200;", "FB00145950067;"], 10)
          and (wine.skylet_dir / "SkyletKorr.SQF").read_bytes() == stored, sent(4, before))
    quit_skylet(skylet, drive)


def kenwood(line) -> tuple:
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


def civ(line, answers=()) -> tuple:
    """An IC-910H's two sides at 60 and 62 on a CI-V bus: echo, then FB or the frequency read's answer; the
    reads answered first as `answers` say."""
    vfo, log, answers = {0x60: 0, 0x62: 0}, [], list(answers)
    bcd = lambda hz: bytes((hz // 10 ** (2 * i) % 10) | (hz // 10 ** (2 * i + 1) % 10) << 4 for i in range(5))
    frame_of = lambda to, by, command, hz: bytes([0xFE, 0xFE, to, by, command]) + bcd(hz) + b"\xfd"
    # Wrong frequencies off Doppler's 200 Hz grid, so that one taken for a turn shows.
    wrong = {"garbage": lambda a, hz: b"\x13\x37\xfe\xfe\xfd\xe0", "cut short": lambda a, hz: a[:8],
             "late": lambda a, hz: threading.Timer(0.5, line.write, (a,)).start() or b"",
             "another radio": lambda a, hz: frame_of(0xE0, 0x5E, 0x03, hz + 5030) + a,
             "transceive": lambda a, hz: frame_of(0x00, 0x60, 0x00, hz + 5030) + a,
             "far outside": lambda a, hz: frame_of(0xE0, 0x60, 0x03, hz + 10 ** 7 + 30),
             "transmitting": lambda a, hz: frame_of(0xE0, 0x60, 0x03, hz + 3070)}

    def reply(frame: bytes) -> bytes:
        if len(frame) < 6 or frame[:2] != b"\xfe\xfe" or frame[2] not in vfo:
            return b""
        to, command = frame[2], frame[4]
        if command == 0x03:
            answer = frame_of(0xE0, to, 0x03, vfo[to])
            return frame + (wrong[answers.pop(0)](answer, vfo[to]) if answers else answer)
        if command == 0x05:
            vfo[to] = sum((b & 15) * 10 ** (2 * i) + (b >> 4) * 10 ** (2 * i + 1) for i, b in enumerate(frame[5:10]))
            log.append((to == 0x60, vfo[to]))
        return frame + bytes([0xFE, 0xFE, 0xE0, to, 0xFB, 0xFD])
    return (b"\xfd", reply), vfo, 0x60, log


def ft847(line) -> tuple:
    """An FT-847 in five-byte frames: 01 sets the receive side, 11 the transmit side, 03 reads the first back
    in tens of Hz with its mode."""
    vfo, log = {"rx": 0}, []

    def reply(frame: bytes) -> bytes:
        digits, opcode = frame[:4].hex(), frame[4]
        if opcode in (0x01, 0x11) and digits.isdigit():
            log.append((opcode == 0x01, int(digits) * 10))
            vfo["rx"] = int(digits) * 10 if opcode == 0x01 else vfo["rx"]
        return bytes.fromhex(f"{vfo['rx'] // 10:08d}01") if opcode == 0x03 else b""
    return (5, reply), vfo, "rx", log


Dial = namedtuple("Dial", "vantrak radio modes uplink")
KENWOOD = {"KenwoodPar.SQF": b"TS-2000\r\n9600\r\n0\r\n"}
DIALS = {"TS-2000 inverting": Dial(KENWOOD, kenwood, ("LSB", "USB"), 145949000),
         "IC-910H inverting": Dial({**ICOM, "IcomName.SQF": b"IC-910H\r\n"}, civ, ("LSB", "USB"), 145949000),
         "FT-847 same sideband": Dial({"TRX.SQF": b"Yaesu\r\n"}, ft847, ("USB", "USB"), 145951000),
         "TS-2000 FM, no read": Dial(KENWOOD, kenwood, ("FM", "FM"), None)}


def dial_pass(profile, serial_line, skylet, row: Dial, **far_end) -> tuple:
    # Doppler moves the downlink 200 Hz a record.
    passing = [record(dn=435800000 + 200 * n, modes=row.modes) for n in range(40)]
    profile(station(start_options(cat="+"), {**row.vantrak, "SatIni.SQF": sat_ini(3, 50)},
                    {"SkyletOptionen.SQF": b"+\r\n+\r\n"}), passing)
    line = serial_line(3)
    line.far_end, vfo, rx, log = row.radio(line, **far_end)
    skylet.start()
    return line, vfo, rx, log


def turn(log: list, vfo: dict, rx, pairs: int = 2) -> tuple[int, int]:
    """The knob turned 1 kHz up right after a pair was sent, as a real one can be: where the log stood, and
    where the downlink was."""
    assert wait_until(lambda: len(log) >= 2 * pairs and not log[-1][0], 20), log
    vfo[rx] += 1000
    return len(log), vfo[rx] - 1000


@pytest.mark.parametrize("name", DIALS)
def test_a_turn_of_the_dial_moves_the_uplink_with_it(name, profile, serial_line, skylet, drive, check):
    row = DIALS[name]
    line, vfo, rx, log = dial_pass(profile, serial_line, skylet, row)
    turned, downlink = turn(log, vfo, rx)
    followed = row.uplink is not None
    wanted = [(True, downlink + (1200 if followed else 200)), (False, row.uplink or 145950000)]
    check("the downlink where the knob put it (FM: where Skylet puts it), Doppler going on, the uplink moved "
          "by the turn in the same record", wait_until(lambda: log[turned:turned + 2] == wanted, 10), log[turned:])
    check("no read in an FM pass", followed or b"FA;" not in line.data())
    quit_skylet(skylet, drive)


def test_bad_answers_of_an_icom_change_nothing_and_a_silent_one_is_told_once(
        profile, serial_line, skylet, drive, shot, check):
    # A wrong frequency twice, as two equal reads are what a turn is made of; one read during a transmission.
    bad = ["garbage", "cut short", "late", *2 * ["another radio"], *2 * ["transceive"], *2 * ["far outside"],
           "transmitting"]
    line, vfo, rx, log = dial_pass(profile, serial_line, skylet, DIALS["IC-910H inverting"], answers=bad)
    told(drive, shot, ["Das Funkger\xe4t beantwortet die Frequenzabfrage nicht.",
                       "Skylet folgt dem Drehknopf wieder, sobald es antwortet."])
    turned, _ = turn(log, vfo, rx, 10)
    check("once", drive.no_msgbox(1))
    check("only Skylet's own frequencies", all(hz == 145950000 if not down else (hz - 435800000) % 200 == 0
                                               for down, hz in log[:turned]), log)
    check("a turn still followed", wait_until(lambda: (False, 145949000) in log[turned:], 10), log[turned:])
    quit_skylet(skylet, drive)
