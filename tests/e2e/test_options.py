"""Skylet's own options: a correction remembered from one run to the next, the dialog in the system menu, the
radio's dial followed."""

import re

from helpers import MAIN_CAPTION, dialog, quit_skylet, record, told, wait_until
from helpers import ts2000 as ts2000_radio
from profiles import start_options, station, ts2000

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


def test_a_turn_of_the_dial_moves_the_uplink_against_it(profile, serial_line, skylet, drive, wine, check):
    # Doppler moves the downlink 200 Hz a record; the operator turns the TS-2000's knob 1 kHz up.
    passing = [record(dn=435800000 + 200 * n) for n in range(40)]
    profile(station(start_options(cat="+"), ts2000(3, 50), {"SkyletOptionen.SQF": b"+\r\n+\r\n"}), passing)
    line = serial_line(3)
    line.far_end = radio = ts2000_radio()
    skylet.start()
    commands = lambda: line.data().decode("ascii", "replace").split(";")
    # Read back with every record; the knob is turned right after a record's send, as a real one can be.
    assert wait_until(lambda: commands().count("FA") >= 2 and commands()[-2].startswith("FB"), 20), commands()
    knob = radio[1].state
    turned_to = int(knob["FA"]) + 1000
    knob["FA"] = f"{turned_to:011d}"
    turned = len(commands())
    sent = lambda: [c for c in commands()[turned:] if c.startswith(("FA0", "FB"))]
    check("the uplink 1 kHz lower at once, the downlink where the knob put it, Doppler going on",
          wait_until(lambda: sent()[:2] == [f"FA{turned_to + 200:011d}", "FB00145949000"], 10), sent())
    quit_skylet(skylet, drive)
