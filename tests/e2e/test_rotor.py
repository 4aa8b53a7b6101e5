"""The rotor with the real programs under Wine: the positions of a scripted
pass by time and by angle change and the park position after it, as the
substitute rotor server and Arswin log them; a rotor server that refuses;
and the rotor dialog driven through its controls."""

from __future__ import annotations

import pytest

from helpers import MAIN_CAPTION, partner_log, wait_until
from profiles import default_profile, sat_ini
from test_main_window import avor_path, main_window_up, write_script
from test_startup_links import start_options

NO_SAT = b"**"


def record(az: float, el: float) -> bytes:
    return f"SNAO-7 AZ{az} EL{el} UP145950000 UMUSB DN435800000 DMLSB MA128\r".encode()


def rotor_profile(rot_opt: bytes, server: bytes = b"C:\\Vantrak\\RotServer", park: str = "+"):
    return default_profile().replace(
        vantrak={"SatIni.SQF": sat_ini(rot_type=1), "RotorServer.SQF": server + b"\r\n"},
        skylet={"AvorPath.SQF": avor_path(), "DDERotOpt.SQF": rot_opt,
                "SkyletStart.SQF": start_options(rotor="+", park=park, dde_rotor="+")})


# The park position of the default profile, 180/0 with delay 5: sent with the
# third no-satellite record, once.
PARK = "180 0"
BY_TIME = [record(100 + n, 10 + n) for n in range(1, 9)]  # every third record from the second
BY_ANGLE = [record(100, 10), record(102, 11), record(104, 12), record(104.5, 14.5),
            record(107, 15), record(109, 19)]
CASES = {
    "time": (b"i\r\n 2\r\n 5\r\nk\r\n", BY_TIME, b"C:\\Vantrak\\RotServer",
             ["execute RotServConv 102 12", "execute RotServConv 105 15", "execute RotServConv 108 18",
              f"execute RotServConv {PARK}"]),
    # MinWin 4, constant: the first position as it is, then half a threshold
    # ahead on each axis that moved by more than 4 (106.5 and 16.5 go to even).
    "angle": (b"w\r\n 2\r\n 4\r\nk\r\n", BY_ANGLE, b"C:\\Vantrak\\RotServer",
              ["execute RotServConv 100 10", "execute RotServConv 106 16", "execute RotServConv 111 21",
               f"execute RotServConv {PARK}"]),
    "arswin": (b"i\r\n 2\r\n 5\r\nk\r\n", BY_TIME[:3], b"C:\\Ars\\Arswin",
               ["poke RCI AZIMUTH GA:102", "poke RCI AZIMUTH GE:12",
                "poke RCI AZIMUTH GA:180", "poke RCI AZIMUTH GE:0"]),
}


@pytest.mark.parametrize("case", CASES)
def test_a_pass_and_the_park_position_reach_the_rotor(case, profile, skylet, drive, wine):
    rot_opt, records, server, expected = CASES[case]
    arswin = b"Arswin" in server
    profile(rotor_profile(rot_opt, server), extra={"C:\\Ars\\Arswin.exe": "Arswin.exe"} if arswin else None)
    write_script(wine, records + [NO_SAT] * 5)
    skylet.start()
    main_window_up(drive)
    log = wine.drive_c("C:\\Ars\\Arswin.log" if arswin else "C:\\Vantrak\\RotServer.log")
    positions = lambda: [e for e in partner_log(log) if e.startswith(("execute", "poke"))
                         and "ClientOn" not in e]
    assert wait_until(lambda: len(positions()) >= len(expected), 30, 0.3), positions()
    assert wait_until(lambda: False, 2.5) or positions() == expected, "the park position went out again"


def test_a_refusing_rotor_server_ends_skylet_with_its_message(profile, skylet, drive, wine, skylet_dir):
    profile(rotor_profile(b"i\r\n 2\r\n 5\r\nk\r\n", park="-"))
    write_script(wine, [NO_SAT] * 6 + BY_TIME)
    before = (skylet_dir / "SkyletPos.SQF").read_bytes()
    skylet.start()
    main_window_up(drive)
    assert wait_until(lambda: "execute RotServConv ClientOn" in partner_log(
        wine.drive_c("C:\\Vantrak\\RotServer.log")), 10)
    wine.drive_c("C:\\Vantrak\\RotServer.refuse").write_bytes(b"")
    box = drive.msgbox(30)
    assert box is not None, drive.windows()
    assert box.lines == ["Fehler bei der Ausgabe an den Rotorserver,", "starten Sie Skylet neu."]
    assert skylet.wait_exit(10), "Skylet still runs after the rotor message"
    assert (skylet_dir / "SkyletPos.SQF").read_bytes() == before, "no quit sequence"


def test_rotor_dialog_park_fields_ok_and_a_standard_direction(profile, skylet, drive, wine,
                                                                skylet_dir, shot):
    profile(rotor_profile(b"i\r\n 2\r\n 5\r\nk\r\n", park="-"))
    write_script(wine, BY_TIME[:3] + [NO_SAT])
    skylet.start()
    main_window_up(drive)
    log = wine.drive_c("C:\\Vantrak\\RotServer.log")
    assert wait_until(lambda: "execute RotServConv 102 12" in partner_log(log), 20)

    assert drive.menu(MAIN_CAPTION, "&Rotor")
    assert drive.wait_window("Rotorsteuerung", 10), drive.windows()
    texts = drive.named_texts("Rotorsteuerung")
    assert (texts["edAzP"], texts["edElP"], texts["edZeitP"]) == (" 180", " 0", " 5")
    assert texts["lstStandR"].split("\n")[0].startswith(" Nord")
    shot("dialog")

    # A box left empty refuses "P.-Pos ok"; filled, the park position is written.
    assert drive.settext("Rotorsteuerung", "edAzP", "90")
    assert drive.settext("Rotorsteuerung", "edZeitP", "")
    assert drive.click("Rotorsteuerung", "cmdOK")
    assert not wait_until(lambda: not drive.rect("Rotorsteuerung").visible, 2), "hidden with an empty box"
    assert drive.settext("Rotorsteuerung", "edZeitP", "4")
    assert drive.click("Rotorsteuerung", "cmdOK")
    assert wait_until(lambda: not drive.rect("Rotorsteuerung").visible, 5)
    assert (skylet_dir / "DDEParkPos.SQF").read_bytes() == b" 90\r\n 0\r\n 4\r\n"

    # "Ost", the row already below the selected first one: the antenna turns
    # east at elevation 0 and tracking and park switch off.
    assert drive.menu(MAIN_CAPTION, "&Rotor")
    assert wait_until(lambda: drive.rect("Rotorsteuerung").visible, 5)
    assert drive.click("Rotorsteuerung", "lstStandR", row=1)
    assert wait_until(lambda: "execute RotServConv 90 0" in partner_log(log), 10), partner_log(log)
    assert wait_until(lambda: not drive.rect("Rotorsteuerung").visible, 5)
    texts = drive.named_texts(MAIN_CAPTION)
    assert texts["lblRotor"] + texts["lblPark"] == " R- P-"
