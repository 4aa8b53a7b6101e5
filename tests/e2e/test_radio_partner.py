"""The substitute transceiver as the demo runs it: what each family's frames set, and Icom's answers."""

import time

import helpers

ICOM = [bytes.fromhex("FE FE 60 E0 07 D0 FD"), bytes.fromhex("FE FE 60 E0 05 00 00 90 45 01 FD")]
# family: (options, writes, what it sets); DC0 moves FA to transmit, a split Yaesu frame counts in fives.
CASES = {
    "Kenwood": ([], [b"FA00145900000;FB00435800000;DC0;FA00435810000;SA1000000010000;MD2;AI0;"],
                ["freq rx 145900.000", "freq tx 435800.000", "select tx", "freq tx 435810.000",
                 "select rx", "mode rx USB"]),
    "Icom": (["--address", "5E"], [b"".join(ICOM)], ["select tx D0", "freq tx 145900.000"]),
    "Yaesu": (["--tx-opcode", "11"], [bytes.fromhex("00 00 00 00 00 C6 90"),
                                      bytes.fromhex("00 00 01 43 58 00 00 11 88 58 00 00 17")],
              ["cat on", "freq rx 1269000.000", "freq tx 435800.000", "mode rx FM-N"]),
}


def test_radio_sets_what_each_familys_frames_say_and_answers_icom_on_the_bus(wine, serial_line, partner):
    helpers.install_partners(wine, {"C:\\Radio\\Radio.exe": "Radio.exe"})
    lines = {family: serial_line(port) for port, family in enumerate(CASES, 5)}
    for port, (family, (options, _, _)) in enumerate(CASES.items(), 5):
        partner("C:\\Radio\\Radio.exe", "--port", str(port), "--family", family, *options,
                "--log", f"C:\\Radio\\{family}.log")
    for family, (_, writes, expected) in CASES.items():
        log = lambda: helpers.partner_log(wine.drive_c(f"C:\\Radio\\{family}.log"))
        assert helpers.wait_until(log, 30), f"{family}: no start"
        with open(lines[family].far, "wb", buffering=0) as far:
            for chunk in writes:
                far.write(chunk)
                time.sleep(0.5)
        settings = lambda: [e for e in log() if not e.startswith(("start", "raw "))]
        assert helpers.wait_until(lambda: settings() == expected, 10), (family, log())
    # The controller hears its own frame back (a shared bus), then the answer from --address.
    reply = b"".join(frame + bytes.fromhex("FE FE E0 5E FB FD") for frame in ICOM)
    assert lines["Icom"].read(5, until_bytes=len(reply)) == reply
