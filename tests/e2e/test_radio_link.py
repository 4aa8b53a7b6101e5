"""The radio's serial link at start-up, on a COM port backed by a pty: the
bytes the rig receives, their order and the waits between them, and the end
of the program when the port cannot be opened."""

from __future__ import annotations

from helpers import MAIN_CAPTION
from profiles import default_profile, sat_ini

CAT_DELAY_MS = 100


def yaesu_profile(cat_port: int, cat_on: str):
    return default_profile().replace(
        vantrak={"TRX.SQF": b"Yaesu\r\n", "SatIni.SQF": sat_ini(cat_port, CAT_DELAY_MS),
                 "YaesuPar.SQF": b"$01\r\n$11\r\n4800\r\nFT-736R\r\n"},
        skylet={"SkyletStart.SQF": f"-\r\n{cat_on}\r\n-\r\n-\r\n-\r\n".encode()})


def test_yaesu_ft736r_is_put_into_cat_and_satellite_mode_with_waits(profile, serial_line, skylet,
                                                                     drive):
    profile(yaesu_profile(3, cat_on="+"))
    line = serial_line(3)
    skylet.start()
    assert drive.wait_window(MAIN_CAPTION, 30), drive.windows()

    cat_off, cat_on, sat_on = bytes([0x80] * 5), bytes(5), bytes([0, 0, 0, 0, 0x0E])
    expected = cat_off + cat_on + sat_on + cat_on + sat_on  # set-up, then the CAT switch-on
    got = line.read(10, until_bytes=len(expected))
    assert got == expected, got.hex(" ")
    # Five commands, each arriving on its own, with a CAT wait between them.
    bursts: list[tuple[float, bytes]] = []
    for at, chunk in line.received:
        if bursts and at - bursts[-1][0] < CAT_DELAY_MS / 1000 / 2:
            bursts[-1] = (bursts[-1][0], bursts[-1][1] + chunk)
        else:
            bursts.append((at, chunk))
    timeline = [(round(at - bursts[0][0], 3), chunk.hex(" ")) for at, chunk in bursts]
    assert [chunk for _, chunk in bursts] == [cat_off, cat_on, sat_on, cat_on, sat_on], timeline
    gaps = [b[0] - a[0] for a, b in zip(bursts, bursts[1:])]
    assert min(gaps) >= CAT_DELAY_MS / 1000 * 0.9, timeline
    assert line.read(1.5) == expected, "nothing more is sent without a satellite"


def test_cat_off_at_start_switches_the_yaesu_off_twice(profile, serial_line, skylet, drive):
    profile(yaesu_profile(3, cat_on="-"))
    line = serial_line(3)
    skylet.start()
    assert drive.wait_window(MAIN_CAPTION, 30), drive.windows()
    cat_off = bytes([0x80] * 5)
    expected = cat_off + bytes(5) + bytes([0, 0, 0, 0, 0x0E]) + cat_off + cat_off
    assert line.read(10, until_bytes=len(expected)) == expected


def test_a_port_that_cannot_be_opened_ends_skylet_with_its_message(profile, skylet, drive,
                                                                   skylet_dir):
    profile(yaesu_profile(7, cat_on="+"))  # no COM7 in the prefix
    before = (skylet_dir / "SkyletPos.SQF").read_bytes()
    skylet.start()
    box = drive.msgbox(30)
    assert box is not None, drive.windows()
    assert box.caption == "Skylet"
    assert box.lines[:2] == ["Das Programm kann nicht mehrfach gestartet werden",
                             "oder gleichzeitig mit Vantrak oder Tessaro laufen."]
    assert len(box.lines) == 3 and box.lines[2].startswith("COM7"), box.lines
    assert skylet.wait_exit(10), "Skylet still runs after the port message"
    assert (skylet_dir / "SkyletPos.SQF").read_bytes() == before
