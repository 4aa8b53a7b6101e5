"""A pass by time and the park through both server links and to Arswin, the rotor dialog (by angle: unit)."""

import time

from helpers import MAIN_CAPTION, dialog, quit_skylet, record, traffic, wait_until
from profiles import sat_ini, start_options, station, ts2000

NO_SAT = b"**"
ROTOR_LOG = "C:\\Vantrak\\RotServer.log"


def turns(*positions: str) -> list[str]:
    """Ending with the default park position, 180/0 after 5 s: sent with the third no-satellite record."""
    return [f"execute RotServConv {p}" for p in (*positions, "180 0")]


BY_TIME = [record(100 + n, 10 + n) for n in range(1, 9)]  # every third record from the second


def rotor_profile(server: bytes, vantrak: dict | None = None, **start: str):
    return station(start_options(rotor="+", park="+", dde_rotor="+", **start),
                   {"SatIni.SQF": sat_ini(rot_type=1), "RotorServer.SQF": server + b"\r\n", **(vantrak or {})},
                   {"DDERotOpt.SQF": b"i\r\n 2\r\n 5\r\nk\r\n"})


def positions(wine) -> list[str]:
    return [e for e in wine.log(ROTOR_LOG, "execute RotServConv") if "ClientOn" not in e]


def pass_and_park(check, got, expected: list[str]) -> None:
    assert wait_until(lambda: len(got()) >= len(expected), 30, 0.3), got()
    time.sleep(2.5)
    check("positions and park, once", got() == expected, got())


def test_by_time_with_park_the_dialog_and_the_quit_of_both_server_links(
        profile, serial_line, skylet, drive, wine, shot, check):
    # The CAT server link goes to the rotor server's program too; the TS-2000 on COM3 is left alone.
    profile(rotor_profile(b"C:\\Vantrak\\RotServer", ts2000(3, 50, rot_type=1), cat="+",
                          dde_cat="+"), BY_TIME + [NO_SAT] * 5)
    serial_line(3)  # opened at start all the same
    skylet.start(locale="de_DE.UTF-8")
    check("no message at start", drive.no_msgbox(1))
    pass_and_park(check, lambda: positions(wine), turns("102 12", "105 15", "108 18"))
    # The greetings: unit StartUpLinks; the CAT server's conversation: the partners-linked fault row.
    cat = wine.log(ROTOR_LOG, "execute CatServConv SF")
    check("frequencies in the user's number format", cat == ["execute CatServConv SF0435800,000 0145950,000"], cat)

    dialog(drive, "&Rotor", "Rotorsteuerung")
    shot("dialog")
    hidden = lambda: not drive.rect("Rotorsteuerung").visible
    # Typed into the real boxes, "P.-Pos ok" writes the park position.
    assert drive.settext("Rotorsteuerung", "edAzP", "90") and drive.settext("Rotorsteuerung", "edZeitP", "4")
    assert drive.click("Rotorsteuerung", "cmdOK")
    check("OK hides", wait_until(hidden, 5))
    check("park stored", (wine.skylet_dir / "DDEParkPos.SQF").read_bytes() == b" 90\r\n 0\r\n 4\r\n")
    # "Ost", the row below the selected first one: east at elevation 0, tracking and park off.
    dialog(drive, "&Rotor", "Rotorsteuerung")
    assert drive.click("Rotorsteuerung", "lstStandR", row=1)
    check("turned east", wait_until(lambda: positions(wine)[4:] == ["execute RotServConv 90 0"], 10),
          positions(wine))
    check("a direction hides the dialog", wait_until(hidden, 5))
    texts = drive.named_texts(MAIN_CAPTION)
    check("tracking and park off", texts["lblRotor"] + texts["lblPark"] == " R- P-")

    # The traffic window, opened now, holds every command the rotor server took since the start, in order.
    lines, server = traffic(drive), wine.log(ROTOR_LOG, "execute")
    sent = lambda link: [line[29:] for line in lines if line[14:27] == f"{link:<10} ->"]
    check("the traffic window: the rotor server's commands", sent("Rotor") == [
        e.removeprefix("execute RotServConv ") for e in server if "RotServConv" in e], lines)
    check("the traffic window: the CAT server's commands", sent("CAT-Server") == [
        e.removeprefix("execute CatServConv ") for e in server if "CatServConv" in e], lines)

    server_before = wine.log(ROTOR_LOG, "execute")
    took = quit_skylet(skylet, drive)
    check("both links told at quit", wine.log(ROTOR_LOG, "execute")[len(server_before):]
          == ["execute CatServConv RaClose", "execute RotServConv Close"])
    check("the rotor server's second", took >= 0.95, f"ended {took:.2f} s after the request")


def test_arswin_in_mixed_case_gets_its_topic_pokes_and_no_executes(profile, skylet, drive, wine, check):
    profile(rotor_profile(b"C:\\Ars\\ArSwIn"), BY_TIME[:3] + [NO_SAT] * 5,
            {"C:\\Ars\\ArSwIn.exe": "Arswin.exe"})
    skylet.start()
    log = lambda: wine.log("C:\\Ars\\ArSwIn.log")
    pass_and_park(check, log, ["connect RCI", "poke RCI AZIMUTH GA:102",
                  "poke RCI AZIMUTH GE:12", "poke RCI AZIMUTH GA:180", "poke RCI AZIMUTH GE:0"])
    quit_skylet(skylet, drive)  # nothing for Arswin at quit: unit QuitSequence
