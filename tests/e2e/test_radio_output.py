"""The radio byte for byte per family; the operator's correction, step and converter."""

import re
from collections import namedtuple

import pytest

from helpers import LONG_AGO, MAIN_CAPTION, carried, dialog, icom, quit_skylet, record, told, traffic, wait_until
from profiles import sat_ini, start_options, station, ts2000

# The second record moves less than the 100 Hz step and sends nothing; the third moves the downlink 200 Hz.
SCRIPT = [b"**", record(), record("123.5", "12.4", 145950050, 435799950),
          record("123.6", "12.5", 145950100, 435799800, "129")]
h = bytes.fromhex
KENWOOD, ICOM = b"Kenwood\r\n", {"TRX.SQF": b"Icom\r\n", "IcomPar.SQF": b"9600\r\nH60\r\nH62\r\n"}
YAESU_OFF, YAESU_ON = h("80 80 80 80 80"), h("00 00 00 00 00")
YAESU_MODES = [h("00 00 00 00 17"), h("01 00 00 00 27")]
YAESU_SEND = [h("43 58 00 00 01"), h("14 59 50 00 11"), h("43 57 99 80 01"), h("14 59 50 10 11")]


def civ(*frames: str) -> list[bytes]:
    """From the controller: "60 07 D1" -> FE FE 60 E0 07 D1 FD."""
    return [h(f"FE FE {f[:2]} E0 {f[3:]} FD") for f in frames]


def yaesu(model: str, baud: int, mark: str = "H") -> dict[str, bytes]:
    par = f"{mark}01\r\n{mark}11\r\n{baud}\r\n{model}\r\n"  # hex fields marked by the program that wrote them
    return {"TRX.SQF": b"Yaesu\r\n", "YaesuPar.SQF": par.encode()}


# frames: start-up, CAT switch, take-up, the two sends; delay_ms: the CAT wait; quit_seconds: of waits at
# quit; spaced: the first frames a CAT wait apart; civ_address: the far end answers as this Icom; log: the
# traffic window read and the traffic log switched on, "refused" where its folder cannot be made.
Radio = namedtuple("Radio", "name vantrak settings frames quit_bytes cat delay_ms quit_seconds spaced "
                   "civ_address how log", defaults=("+", 20, 0.0, 0, None, "menu", None))
LOG_ON = {"SkyletOptionen.SQF": b"+\r\n-\r\n+\r\n"}


RADIOS = [
    Radio("TS-2000", {"TRX.SQF": KENWOOD, "KenwoodPar.SQF": b"TS-2000\r\n9600\r\n0\r\n"}, "9600,N,8,1",
          [b"SA1010000;", b"SA1010000;", b"MD1;", b"SA1011000;", b"MD2;", b"AI0;",
           b"FA00435800000;", b"FB00145950000;", b"FA00435799800;", b"FB00145950100;"],
          b"SA0010000;", how="minimised", log="written"),
    # The IC-910H selects its bands at the other radio's address; satellite mode off at quit.
    Radio("IC-910H", {**ICOM, "IcomName.SQF": b"IC-910H\r\n"}, "9600,N,8,1",
          civ("60 1A 07 01", "62 07 D0", "60 06 00", "60 07 D1", "62 06 01", "62 07 D0",
              "62 07 D0", "60 05 00 00 80 35 04", "60 07 D1", "62 05 00 00 95 45 01", "62 07 D0",
              "62 07 D0", "60 05 00 98 79 35 04", "60 07 D1", "62 05 00 01 95 45 01", "62 07 D0"),
          *civ("60 1A 07 00"), civ_address=0x60, log="refused"),
    # Another Icom, nobody answering, CAT off: modes set all the same, no frequency; still the CAT wait at quit.
    Radio("IC-821H CAT off", {**ICOM, "IcomName.SQF": b"IC-821H\r\n"}, "9600,N,8,1",
          civ("60 07 D1", "60 06 00", "62 07 D0", "62 06 01", "60 07 D1"), b"",
          cat="-", delay_ms=1000, quit_seconds=1.0),
    # Set up, then switched on; the satellite mode with the model's own opcode.
    Radio("FT-736R", yaesu("FT-736R", 4800, "$"), "4800,N,8,2",
          [YAESU_OFF, YAESU_ON, h("00 00 00 00 0E"), YAESU_ON, h("00 00 00 00 0E"), *YAESU_MODES,
           *YAESU_SEND], YAESU_OFF, delay_ms=100, spaced=5),
]


def arrivals(line, frames: list[bytes]) -> list[float]:
    ends, times, total = [sum(map(len, frames[:i + 1])) for i in range(len(frames))], [], 0
    for at, chunk in list(line.received):
        total += len(chunk)
        times += [at for end in ends[len(times):] if end <= total]
    return times


@pytest.mark.parametrize("radio", RADIOS, ids=[r.name for r in RADIOS])
def test_radio_follows_the_pass_and_the_quit_byte_for_byte(radio, profile, serial_line, skylet, drive,
                                                           wine, shot, check):
    profile(station(start_options(cat=radio.cat), {**radio.vantrak, "SatIni.SQF": sat_ini(3, radio.delay_ms)},
                    LOG_ON if radio.log else {}), SCRIPT)
    position, log_folder = wine.skylet_dir / "SkyletPos.SQF", wine.skylet_dir / "Verkehr"
    if radio.log == "refused":
        log_folder.write_bytes(b"")  # a file where the folder would be
    line = serial_line(3)
    line.far_end = icom(radio.civ_address) if radio.civ_address else None
    skylet.start(window=radio.log != "refused")
    if radio.log == "refused":  # told at the start, before the window; the pass goes on
        told(drive, shot, [re.compile(r"Das Verkehrsprotokoll in .*\\Verkehr kann nicht geschrieben werden: .*"),
                           "Skylet zeichnet es bis zum n\u00e4chsten Einschalten nicht mehr auf; "
                           "der Betrieb geht weiter."], 30)
        assert drive.wait_window(MAIN_CAPTION, 30)

    expected = b"".join(radio.frames)
    got = line.read(30, until_bytes=len(expected))
    check("start-up and pass", got.hex(" ") == expected.hex(" "), got.hex(" "))
    check("line settings", line.settings() == radio.settings, line.settings())
    if radio.spaced:
        spaced = arrivals(line, radio.frames)[:radio.spaced]
        gaps = [b - a for a, b in zip(spaced, spaced[1:])]
        check("the first frames a CAT wait apart", len(gaps) == radio.spaced - 1
              and min(gaps) >= radio.delay_ms / 1000 * 0.9, gaps)
    check("records within the step send nothing", line.read(2.5) == got)
    if radio.log:
        lines = traffic(drive)
        shot("verkehr")
        check("the traffic window: the wire's bytes", carried(lines, "Funkger\u00e4t", "->") == got, lines)
        # Whole replies, in order, each one read before the program threw it away (the last few may still wait).
        heard, left = carried(lines, "Funkger\u00e4t", "<-").split(b"\xfd"), iter(
            b"".join(map(line.far_end[1], radio.frames)).split(b"\xfd") if line.far_end else [b""])
        check("the radio's replies as they were read", all(frame in left for frame in heard)
              and (not line.far_end or len(heard) >= 2 * len(radio.frames) - 4), heard)

    took = quit_skylet(skylet, drive, radio.how)
    check("quit bytes", line.read(1.0)[len(got):] == radio.quit_bytes, line.data()[len(got):].hex(" "))
    if radio.quit_seconds:
        check("quit waits", took >= radio.quit_seconds * 0.95, f"ended {took:.2f} s after the request")
    minimised = radio.how == "minimised"
    check("window position stored unless minimised", (position.stat().st_mtime == LONG_AGO) == minimised)
    if radio.log == "written":
        logged = [line for day in log_folder.glob("Verkehr-*.txt") for line in day.read_text("cp1252").splitlines()]
        shown = [line for line in logged if not line[14:].startswith("Avor ")]
        check("the log file: the window's lines, Avor's too", shown[:len(lines)] == lines
              and len(logged) > len(shown), logged)


def test_correction_step_and_converter_reach_the_radio(profile, serial_line, skylet, drive, wine, shot, check):
    """A TS-2000 behind a 2.4 GHz converter: arrow keys, "Catsteuerung" and "Mode" change the next send."""
    profile(station(start_options(cat="+"), ts2000()), [record(dn=2401000000, ma="7")])
    line = serial_line(3)
    skylet.start()

    def sent(count: int) -> list[str]:
        wait_until(lambda: line.data().count(b"F") >= count, 10, 0.1)
        return [c + ";" for c in line.data().decode().split(";") if c.startswith(("FA", "FB"))][count - 2:]

    check("take-up", sent(2) == ["FA02401000000;", "FB00145950000;"], sent(2))
    # Right arrow: +100 Hz on the downlink, the same share on the uplink.
    assert drive.key(MAIN_CAPTION, "picFocus", 39)
    check("right arrow", sent(4) == ["FA02401000100;", "FB00145950006;"], sent(4))
    # The dialog: the 100 Hz correction spin down, the 100 Hz step spin up, "Intv. ok" stores.
    dialog(drive, "&Cat", "Catsteuerung")
    assert drive.key("Catsteuerung", "ScrollKorr100", 40)
    check("correction spin", sent(6) == ["FA02401000000;", "FB00145950000;"], sent(6))
    assert drive.key("Catsteuerung", "ScrollIntV100", 38)
    check("step spin", wait_until(lambda: drive.named_texts("Catsteuerung")["edIntV"] == "200", 5))
    shot("catsteuer")
    assert drive.click("Catsteuerung", "cmdIntVStore")
    stored = lambda: (wine.skylet_dir / "DDEIntVCat.SQF").read_bytes()
    check("step stored", wait_until(lambda: stored() == b" 200\r\n", 5), stored())
    assert drive.close("Catsteuerung")
    check("the close box destroys it", wait_until(lambda: drive.rect("Catsteuerung") is None, 5))
    # "Mode": the converter row 2256000/0, OK: the downlink goes out at 145000 kHz.
    dialog(drive, "&Mode", "Mode")
    assert drive.click("Mode", "lstTransverter", row=1) and drive.click("Mode", "cmdOK")
    check("converter", sent(8) == ["FA00145000000;", "FB00145950000;"], sent(8))
    check("the display keeps the sky frequency", wait_until(
        lambda: (drive.named_texts(MAIN_CAPTION) or {}).get("edRX") == "2401000.000", 5))
    check("the repeated record sends nothing", line.read(2.0).count(b"F") == 8, line.data())
