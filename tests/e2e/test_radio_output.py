"""A scripted pass with the radio on a COM port backed by a pty, for each
radio family, and through the CAT server: the modes at take-up, the
frequencies of every record that moved by the step, nothing for the records
that did not, byte for byte."""

from __future__ import annotations

from dataclasses import dataclass, field

import pytest

from helpers import MAIN_CAPTION, partner_log, wait_until
from profiles import default_profile, sat_ini
from test_main_window import avor_path, write_script
from test_startup_links import start_options

CAT_DELAY_MS = 20

# Downlink LSB, uplink USB. The second record moves both by 50 Hz, less than
# the step of 100 Hz: nothing is sent. The third moves the downlink by 200 Hz.
REC1 = b"SNAO-7 AZ123.4 EL12.3 UP145950000 UMUSB DN435800000 DMLSB MA128\r"
REC2 = b"SNAO-7 AZ123.5 EL12.4 UP145950050 UMUSB DN435799950 DMLSB MA128\r"
REC3 = b"SNAO-7 AZ123.6 EL12.5 UP145950100 UMUSB DN435799800 DMLSB MA129\r"
SCRIPT = [b"**", REC1, REC1, REC2, REC2, REC3]


def h(text: str) -> bytes:
    return bytes.fromhex(text)


@dataclass
class Family:
    name: str
    vantrak: dict[str, bytes]
    settings: str
    frames: list[bytes]  # start-up, CAT on, take-up, then the two sends
    civ_address: int | None = None
    extra: dict = field(default_factory=dict)


KENWOOD = "Kenwood\r\n".encode()
ICOM_PAR = b"9600\r\nH60\r\nH62\r\n"  # downlink radio 60, uplink radio 62
YAESU_SEND = [h("43 58 00 00 01"), h("14 59 50 00 11"), h("43 57 99 80 01"), h("14 59 50 10 11")]

FAMILIES = [
    Family("TS-2000", {"TRX.SQF": KENWOOD, "KenwoodPar.SQF": b"TS-2000\r\n9600\r\n0\r\n"},
           "9600,N,8,1",
           [b"SA1010000;",
            b"SA1010000;", b"MD1;", b"SA1011000;", b"MD2;", b"AI0;",
            b"FA00435800000;", b"FB00145950000;", b"FA00435799800;", b"FB00145950100;"]),
    Family("TS-790", {"TRX.SQF": KENWOOD, "KenwoodPar.SQF": b"TS-790\r\n9600\r\n0\r\n"},
           "4800,N,8,2",
           [b"DC0;", b"FN0;", b"DC1;", b"FN0;",
            b"DC1;", b"MD1;", b"DC0;", b"MD2;", b"AI0;",
            b"DC1;", b"FA00435800000;", b"DC0;", b"FA00145950000;", b"DC1;",
            b"DC1;", b"FA00435799800;", b"DC0;", b"FA00145950100;", b"DC1;"]),
    # The IC-910H selects its bands at the other radio's address; the test
    # answers every frame like a radio on the bus.
    Family("IC-910H", {"TRX.SQF": b"Icom\r\n", "IcomPar.SQF": ICOM_PAR, "IcomName.SQF": b"IC-910H\r\n"},
           "9600,N,8,1",
           [h("FE FE 60 E0 1A 07 01 FD"),
            h("FE FE 62 E0 07 D0 FD"), h("FE FE 60 E0 06 00 FD"), h("FE FE 60 E0 07 D1 FD"),
            h("FE FE 62 E0 06 01 FD"), h("FE FE 62 E0 07 D0 FD"),
            h("FE FE 62 E0 07 D0 FD"), h("FE FE 60 E0 05 00 00 80 35 04 FD"), h("FE FE 60 E0 07 D1 FD"),
            h("FE FE 62 E0 05 00 00 95 45 01 FD"), h("FE FE 62 E0 07 D0 FD"),
            h("FE FE 62 E0 07 D0 FD"), h("FE FE 60 E0 05 00 98 79 35 04 FD"), h("FE FE 60 E0 07 D1 FD"),
            h("FE FE 62 E0 05 00 01 95 45 01 FD"), h("FE FE 62 E0 07 D0 FD")],
           civ_address=0x60),
    # Another Icom gets no satellite-mode frame and nobody answers it.
    Family("IC-821H", {"TRX.SQF": b"Icom\r\n", "IcomPar.SQF": ICOM_PAR, "IcomName.SQF": b"IC-821H\r\n"},
           "9600,N,8,1",
           [h("FE FE 60 E0 07 D1 FD"), h("FE FE 60 E0 06 00 FD"), h("FE FE 62 E0 07 D0 FD"),
            h("FE FE 62 E0 06 01 FD"), h("FE FE 60 E0 07 D1 FD"),
            h("FE FE 60 E0 07 D1 FD"), h("FE FE 60 E0 05 00 00 80 35 04 FD"), h("FE FE 62 E0 07 D0 FD"),
            h("FE FE 62 E0 05 00 00 95 45 01 FD"), h("FE FE 60 E0 07 D1 FD"),
            h("FE FE 60 E0 07 D1 FD"), h("FE FE 60 E0 05 00 98 79 35 04 FD"), h("FE FE 62 E0 07 D0 FD"),
            h("FE FE 62 E0 05 00 01 95 45 01 FD"), h("FE FE 60 E0 07 D1 FD")]),
    Family("FT-736R", {"TRX.SQF": b"Yaesu\r\n", "YaesuPar.SQF": b"H01\r\nH11\r\n4800\r\nFT-736R\r\n"},
           "4800,N,8,2",
           [h("80 80 80 80 80"), h("00 00 00 00 00"), h("00 00 00 00 0E"),
            h("00 00 00 00 00"), h("00 00 00 00 0E"),
            h("00 00 00 00 17"), h("01 00 00 00 27"), *YAESU_SEND]),
    Family("FT-847", {"TRX.SQF": b"Yaesu\r\n", "YaesuPar.SQF": b"H01\r\nH11\r\n9600\r\nFT-847\r\n"},
           "9600,N,8,2",
           [h("80 80 80 80 80"), h("00 00 00 00 00"), h("00 00 00 00 4E"),
            h("00 00 00 00 00"), h("00 00 00 00 4E"),
            h("00 00 00 00 17"), h("01 00 00 00 27"), *YAESU_SEND]),
]


@pytest.mark.parametrize("family", FAMILIES, ids=[f.name for f in FAMILIES])
def test_radio_follows_the_pass_byte_for_byte(family, profile, serial_line, skylet, drive, wine):
    profile(default_profile().replace(
        vantrak={**family.vantrak, "SatIni.SQF": sat_ini(3, CAT_DELAY_MS)},
        skylet={"AvorPath.SQF": avor_path(), "SkyletStart.SQF": start_options(cat="+")}))
    write_script(wine, SCRIPT)
    line = serial_line(3)
    line.civ_address = family.civ_address
    skylet.start()
    assert drive.wait_window(MAIN_CAPTION, 30), drive.windows()

    expected = b"".join(family.frames)
    got = line.read(30, until_bytes=len(expected))
    assert got.hex(" ") == expected.hex(" ")
    assert line.settings() == family.settings
    # The last record repeats: nothing more goes out.
    assert line.read(2.5) == expected, "records within the step were sent"


def test_cat_server_gets_modes_and_frequencies_in_the_users_number_format(profile, skylet, drive, wine):
    profile(default_profile().replace(
        skylet={"AvorPath.SQF": avor_path(), "SkyletStart.SQF": start_options(cat="+", dde_cat="+")}))
    write_script(wine, SCRIPT)
    skylet.start(locale="de_DE.UTF-8")
    assert drive.wait_window(MAIN_CAPTION, 30), drive.windows()
    log = wine.drive_c("C:\\Vantrak\\CatServer.log")
    wanted = ["execute CatServConv SMLSB USB",
              "execute CatServConv SF0435800,000 0145950,000",
              "execute CatServConv SF0435799,800 0145950,100"]
    assert wait_until(lambda: wanted[-1] in partner_log(log), 30, 0.3), partner_log(log)
    commands = [e for e in partner_log(log) if e.startswith("execute CatServConv S")]
    assert commands == wanted
