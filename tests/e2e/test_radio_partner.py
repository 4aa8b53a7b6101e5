"""The substitute transceiver the demo shows: what it makes of each family's
frames on its COM port (its log) and, for Icom, what it answers on the bus."""

from __future__ import annotations

import os
import time

import helpers

RADIO = "C:\\Radio\\Radio.exe"
ICOM_FRAMES = [bytes.fromhex("FE FE 60 E0 07 D0 FD"),
               bytes.fromhex("FE FE 60 E0 05 00 00 90 45 01 FD")]
ICOM_OK = bytes.fromhex("FE FE E0 5E FB FD")  # to the controller, from the radio's --address

# family: (COM port, options, bytes in the writes made, the log after "start")
CASES = {
    "Kenwood": (5, [], [b"FA00145900000;FB00435800000;DC0;FA00435810000;SA1000000010000;MD2;AI0;"],
                ["raw FA00145900000;", "freq rx 145900.000",
                 "raw FB00435800000;", "freq tx 435800.000",
                 "raw DC0;", "select tx",
                 "raw FA00435810000;", "freq tx 435810.000",  # DC0 moved FA to the sub band
                 "raw SA1000000010000;", "select rx",
                 "raw MD2;", "mode rx USB",
                 "raw AI0;"]),
    "Icom": (6, ["--address", "5E"],
             [b"".join(ICOM_FRAMES)],
             ["raw FE FE 60 E0 07 D0 FD", "select tx D0",
              "raw FE FE 60 E0 05 00 00 90 45 01 FD", "freq tx 145900.000"]),
    # A frame split over two writes: the stream is counted off in fives.
    "Yaesu": (7, ["--tx-opcode", "11"],
              [bytes.fromhex("00 00 00 00 00 C6 90"),
               bytes.fromhex("00 00 01 43 58 00 00 11 88 58 00 00 17")],
              ["raw 00 00 00 00 00", "cat on",
               "raw C6 90 00 00 01", "freq rx 1269000.000",
               "raw 43 58 00 00 11", "freq tx 435800.000",
               "raw 88 58 00 00 17", "mode rx FM-N"]),
}


def test_radio_logs_each_familys_frames_and_answers_icom_frames_on_the_bus(wine, serial_line,
                                                                          partner):
    helpers.install_partners(wine, {RADIO: "Radio.exe"})
    lines, logs = {}, {}
    for family, (port, options, _, _) in CASES.items():
        lines[family] = serial_line(port)
        logs[family] = wine.drive_c(f"C:\\Radio\\{family}.log")
        partner(RADIO, "--port", str(port), "--family", family, *options,
                "--log", f"C:\\Radio\\{family}.log")
    for family, log in logs.items():
        assert helpers.wait_until(lambda: helpers.partner_log(log), 30), f"{family}: no start"
        assert helpers.partner_log(log)[0].startswith(f"start COM{CASES[family][0]} {family} ")

    for family, (_, _, writes, _) in CASES.items():
        far = os.open(lines[family].far, os.O_WRONLY | os.O_NOCTTY)
        try:
            for chunk in writes:
                os.write(far, chunk)
                time.sleep(0.5)
        finally:
            os.close(far)

    for family, (_, _, _, expected) in CASES.items():
        log = logs[family]
        helpers.wait_until(lambda: len(helpers.partner_log(log)) > len(expected), 10)
        assert helpers.partner_log(log)[1:] == expected, family

    # The controller hears its own frame back (a shared bus), then the answer.
    expected_reply = b"".join(frame + ICOM_OK for frame in ICOM_FRAMES)
    assert lines["Icom"].read(5, until_bytes=len(expected_reply)) == expected_reply
