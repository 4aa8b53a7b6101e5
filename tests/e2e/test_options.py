"""Skylet's own options: a correction remembered from one run to the next, the dialog in the system menu."""

import re

from helpers import MAIN_CAPTION, dialog, quit_skylet, record, told, wait_until
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
    check("off, stored", wait_until(lambda: options.exists() and options.read_bytes() == b"-\r\n", 5))
    assert drive.key(MAIN_CAPTION, "picFocus", 37)
    check("a step, nothing remembered", wait_until(lambda: sent(4, before)[-2:] == ["FA00435800200;", "FB00145950067;"], 10)
          and (wine.skylet_dir / "SkyletKorr.SQF").read_bytes() == stored, sent(4, before))
    quit_skylet(skylet, drive)
