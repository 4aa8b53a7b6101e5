"""The start-up's links to its partners, with the real programs under Wine:
who gets started, which conversation opens, what the partners receive, and
how a partner that cannot be started ends things."""

from __future__ import annotations

import time

from helpers import MAIN_CAPTION, partner_log, wait_until
from profiles import default_profile, sat_ini

WINDOW_SECONDS = 30


def start_options(rotor="-", cat="-", park="-", dde_rotor="-", dde_cat="-") -> bytes:
    return "\r\n".join([rotor, cat, park, dde_rotor, dde_cat, ""]).encode()


def main_window_up(drive) -> None:
    assert drive.wait_window(MAIN_CAPTION, WINDOW_SECONDS), (
        f"no window {MAIN_CAPTION!r} within {WINDOW_SECONDS} s; top-level windows:\n{drive.windows()}")


def answer_message(drive, shot) -> list[str]:
    """Skylet's message box: looked at, photographed, answered with OK."""
    box = drive.see_msgbox(30)
    assert box is not None, f"no message box; windows:\n{drive.windows()}"
    shot("msgbox")
    assert box.caption == "Skylet"
    assert drive.msgbox(5) is not None
    return box.lines


def events_soon(path, wanted: list[str], seconds: float = 10) -> list[str]:
    """The log's events once all of `wanted` are in it (or the time is up)."""
    wait_until(lambda: all(w in partner_log(path) for w in wanted), seconds, 0.2)
    return partner_log(path)


def test_running_avor_is_linked_and_not_started_again(profile, partner, skylet, drive, wine):
    profile(default_profile())
    by_hand = wine.drive_c("C:\\Avor\\byhand.log")
    partner("C:\\Avor\\Avor.exe", "--log", "C:\\Avor\\byhand.log")
    assert wait_until(lambda: "start" in partner_log(by_hand), 20, 0.2), "Avor did not come up"

    skylet.start()
    main_window_up(drive)
    assert drive.no_msgbox(1) is None
    assert "connect Tracking" in events_soon(by_hand, ["connect Tracking"])
    # AvorPath.SQF names a log of its own: a second Avor would have written it.
    assert partner_log(wine.drive_c("C:\\Avor\\Avor.log")) == []


def test_avor_not_running_is_started_from_its_path_and_linked(profile, skylet, drive, wine):
    profile(default_profile())
    skylet.start()
    main_window_up(drive)
    events = events_soon(wine.drive_c("C:\\Avor\\Avor.log"), ["connect Tracking"])
    assert events[:2] == ["start", "connect Tracking"], events


def test_avor_that_cannot_be_started_ends_skylet_with_its_message(profile, skylet, drive,
                                                                  skylet_dir, shot):
    profile(default_profile().replace(skylet={"AvorPath.SQF": b"C:\\Nirgends\\Avor.exe\r\n"}))
    before = (skylet_dir / "SkyletPos.SQF").read_bytes()
    skylet.start()
    assert answer_message(drive, shot) == [
        "Avor kann unter dem im File 'AvorPath.SQF' angegebenen Pfad nicht ",
        "geladen werden. Geben Sie dort den Pfad und als Namen: Avor an.",
        "Skylet wird jetzt beendet.",
    ]
    assert skylet.wait_exit(10), "Skylet still runs after the Avor message"
    assert not drive.wait_window(MAIN_CAPTION, 0)
    assert (skylet_dir / "SkyletPos.SQF").read_bytes() == before, "nothing may be written"


def test_rotor_server_is_started_linked_and_greeted(profile, skylet, drive, wine):
    profile(default_profile().replace(vantrak={"SatIni.SQF": sat_ini(rot_type=0)},
                                      skylet={"SkyletStart.SQF": start_options(dde_rotor="+")}))
    skylet.start()
    main_window_up(drive)
    log = wine.drive_c("C:\\Vantrak\\RotServer.log")
    events = events_soon(log, ["execute RotServConv ClientOn"])
    assert events == ["connect RotServConv", "execute RotServConv ClientOn"], events
    assert drive.no_msgbox(1) is None


def test_arswin_in_mixed_case_gets_its_topic_and_no_greeting(profile, skylet, drive, wine):
    profile(default_profile().replace(
        vantrak={"SatIni.SQF": sat_ini(rot_type=0), "RotorServer.SQF": b"C:\\Ars\\ArSwIn\r\n"},
        skylet={"SkyletStart.SQF": start_options(dde_rotor="+")}),
        extra={"C:\\Ars\\ArSwIn.exe": "Arswin.exe"})
    skylet.start()
    main_window_up(drive)
    log = wine.drive_c("C:\\Ars\\ArSwIn.log")
    assert events_soon(log, ["connect RCI"]) == ["connect RCI"]
    time.sleep(1)
    assert partner_log(log) == ["connect RCI"], "Arswin gets no ClientOn"


def test_cat_server_without_rotor_server_is_found_by_topic_alone(profile, partner, skylet, drive,
                                                                wine):
    # A CAT server under a name no settings file knows: only a link that names
    # no application reaches it.
    profile(default_profile().replace(skylet={"SkyletStart.SQF": start_options(cat="+", dde_cat="+")}),
            extra={"C:\\Other\\OtherCat.exe": "RotServer.exe"})
    other = wine.drive_c("C:\\Other\\OtherCat.log")
    partner("C:\\Other\\OtherCat.exe", "--topics", "CatServConv")
    assert wait_until(lambda: other.parent.joinpath("OtherCat.exe").exists(), 5)
    time.sleep(2)  # the server registers its name

    skylet.start()
    main_window_up(drive)
    events = events_soon(other, ["execute CatServConv RaOpen"])
    assert events == ["connect CatServConv", "execute CatServConv ClientOn",
                      "execute CatServConv RaOpen"], events
    assert partner_log(wine.drive_c("C:\\Vantrak\\CatServer.log")) == [], "no CAT server started"


def test_rotor_server_that_cannot_be_started_is_named_and_cat_server_not_greeted(
        profile, partner, skylet, drive, wine, shot):
    # The CAT server answers under the rotor server's name, but only its CAT
    # topic: the rotor link fails and the rotor server is nowhere to be found.
    profile(default_profile().replace(
        vantrak={"SatIni.SQF": sat_ini(rot_type=0), "RotorServer.SQF": b"C:\\Nirgends\\RotServer\r\n"},
        skylet={"SkyletStart.SQF": start_options(cat="+", dde_rotor="+", dde_cat="+")}))
    log = wine.drive_c("C:\\Vantrak\\RotServer.log")
    partner("C:\\Vantrak\\RotServer.exe", "--topics", "CatServConv")
    time.sleep(2)

    skylet.start()
    assert answer_message(drive, shot) == [
        "Fehler beim Laden des Rotor-Serverprogramms,",
        "stellen Sie sicher,da\u00df sich C:\\Nirgends\\RotServer",
        " und die ben\u00f6tigten Hilfsdateien im Vantrak-Verzeichnis befinden.",
    ]
    main_window_up(drive)
    events = events_soon(log, ["execute CatServConv RaOpen"])
    assert events == ["connect CatServConv", "execute CatServConv RaOpen"], events
