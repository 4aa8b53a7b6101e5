"""The start-up's links to its partners under Wine: a tracking program already running or
none to be started, a CAT server found by its topic alone, a rotor server that cannot be
started, a settings file missing, and the end when the tracking link is lost."""

from __future__ import annotations

import os
import re
import time

from helpers import MAIN_CAPTION, boxes, main_window_up, partner_log, shown, wait_until, write_script
from profiles import default_profile, sat_ini, start_options

LONG_AGO = 978307200  # 2001-01-01: any rewrite shows in the modification time


def answer(drive, shot, name: str) -> list[str]:
    """Skylet's next message box: photographed, answered with OK."""
    box = drive.see_msgbox(30)
    assert box is not None, f"no message box; windows:\n{drive.windows()}"
    shot(name)
    assert box.caption == "Skylet" and drive.msgbox(5) is not None, box
    return box.lines


def test_running_avor_and_cat_server_are_linked_and_a_lost_tracking_link_ends_skylet(
        profile, partner, skylet, drive, wine, skylet_dir, shot, check):
    # A CAT server under a name no settings file knows: only a link naming no application reaches it.
    profile(default_profile().replace(skylet={"SkyletStart.SQF": start_options(cat="+", dde_cat="+")}),
            extra={"C:\\Other\\OtherCat.exe": "RotServer.exe"})
    write_script(wine, [b"SNAO-7 AZ123.4 EL12.3 UP145950000 UMUSB DN435800000 DMLSB MA128\r"])
    partner("C:\\Avor\\Avor.exe", "--script", "C:\\Avor\\pass.txt", "--log", "C:\\Avor\\byhand.log",
            "--stop-after", "4")
    partner("C:\\Other\\OtherCat.exe", "--topics", "CatServConv")
    by_hand, other = wine.drive_c("C:\\Avor\\byhand.log"), wine.drive_c("C:\\Other\\OtherCat.log")
    assert wait_until(lambda: "start" in partner_log(by_hand), 20, 0.2), "Avor did not come up"
    time.sleep(2)  # the CAT server registers its name
    position = skylet_dir / "SkyletPos.SQF"
    os.utime(position, (LONG_AGO, LONG_AGO))
    skylet.start()
    main_window_up(drive)
    check("no message at start", drive.no_msgbox(1) is None)
    check("record shown", wait_until(lambda: boxes(drive) == shown(
        " AO-7 ", "123.4", "12.3", "435800.000", "145950.000", "LSB", "USB", "128"), 15, 0.2), boxes(drive))

    box = drive.see_msgbox(20)
    assert box is not None, f"no message after the tracking program ended; windows:\n{drive.windows()}"
    shot("msgbox")
    check("lost link told", box.caption == "Skylet" and box.lines == [
        "Der DDE-Link zu Avor ist abgebrochen worden,", "Skylet wird deshalb beendet."], box)
    check("Skylet waits for the operator", skylet.running())
    assert drive.msgbox(5) is not None
    assert skylet.wait_exit(10), "Skylet still runs after the message"
    check("ended through the quit sequence", position.stat().st_mtime > LONG_AGO + 1)
    avor = partner_log(by_hand)
    check("the running Avor linked and asked 4 times", avor[:2] == ["start", "connect Tracking"]
          and sum(e.startswith("request") for e in avor) == 4, avor)
    check("no second Avor started", partner_log(wine.drive_c("C:\\Avor\\Avor.log")) == [])
    cat = [e for e in partner_log(other) if e.startswith(("connect", "execute"))]
    check("CAT server found by topic, greeted, switched on and off", cat == [
        "connect CatServConv", "execute CatServConv ClientOn", "execute CatServConv RaOpen",
        "execute CatServConv SMLSB USB", "execute CatServConv SF0435800.000 0145950.000",
        "execute CatServConv RaClose"], cat)
    check("no CAT server started", partner_log(wine.drive_c("C:\\Vantrak\\CatServer.log")) == [])
    check.done()


def test_avor_that_cannot_be_started_ends_skylet_with_its_message(profile, skylet, drive, skylet_dir, shot):
    profile(default_profile().replace(skylet={"AvorPath.SQF": b"C:\\Nirgends\\Avor.exe\r\n"}))
    before = (skylet_dir / "SkyletPos.SQF").read_bytes()
    skylet.start()
    assert answer(drive, shot, "msgbox") == [
        "Avor kann unter dem im File 'AvorPath.SQF' angegebenen Pfad nicht ",
        "geladen werden. Geben Sie dort den Pfad und als Namen: Avor an.", "Skylet wird jetzt beendet."]
    assert skylet.wait_exit(10), "Skylet still runs after the Avor message"
    assert not drive.wait_window(MAIN_CAPTION, 0)
    assert (skylet_dir / "SkyletPos.SQF").read_bytes() == before, "nothing may be written"


def test_missing_file_and_unstartable_rotor_server_are_told_and_skylet_goes_on(profile, partner, skylet,
                                                                               drive, wine, shot, check):
    # The CAT server answers under the rotor server's name, but only its CAT topic: the rotor
    # link fails and the rotor server is nowhere to be found.
    profile(default_profile().replace(
        vantrak={"TRX.SQF": None, "SatIni.SQF": sat_ini(rot_type=0),
                 "RotorServer.SQF": b"C:\\Nirgends\\RotServer\r\n"},
        skylet={"SkyletStart.SQF": start_options(cat="+", dde_rotor="+", dde_cat="+")}))
    partner("C:\\Vantrak\\RotServer.exe", "--topics", "CatServConv")
    time.sleep(2)
    skylet.start()
    lines = answer(drive, shot, "settings")
    check("settings message framed", lines[0] == "Einige Einstellungsdateien fehlen oder sind fehlerhaft:"
          and lines[-1] == "Skylet arbeitet ohne diese Werte weiter.", lines)
    check("only TRX.SQF named, by its full path, as not found", len(lines) == 3 and re.match(
        r"^[A-Za-z]:\\.*\\vantrak\\trx\.sqf: .*nicht gefunden", lines[1], re.IGNORECASE), lines)
    check("rotor server named", answer(drive, shot, "rotor") == [
        "Fehler beim Laden des Rotor-Serverprogramms,",
        "stellen Sie sicher,da\u00df sich C:\\Nirgends\\RotServer",
        " und die ben\u00f6tigten Hilfsdateien im Vantrak-Verzeichnis befinden."])
    main_window_up(drive)
    check("no further message", drive.no_msgbox(2) is None)
    log = wine.drive_c("C:\\Vantrak\\RotServer.log")
    wait_until(lambda: "execute CatServConv RaOpen" in partner_log(log), 10, 0.2)
    events = partner_log(log)
    check("the CAT server linked but not greeted",
          events == ["connect CatServConv", "execute CatServConv RaOpen"], events)
    check.done()
