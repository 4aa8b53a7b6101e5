"""The main window with the real programs under Wine: a scripted pass of the
tracking substitute shown record by record, a tracking program that goes
away, the operator's clicks, the focus, the help and the window's layout."""

from __future__ import annotations

import os
import time

from helpers import MAIN_CAPTION, partner_log, twips_to_pixels, wait_until
from profiles import default_profile

WINDOW_SECONDS = 30
SCRIPT = "C:\\Avor\\pass.txt"
BOXES = ("edSat", "edAZ", "edEL", "edRX", "edTX", "edDM", "edUM", "edMA")

# The records as Avor sends them: tags and values, a blank after each value,
# a CR at the end.
REC1 = b"SNAO-7 AZ123.4 EL12.3 UP145950000 UMUSB DN435800000 DMLSB MA128\r"
REC2 = b"SNAO-7 AZ124.0 EL13.1 UP145950123 UMUSB DN435799877 DMLSB MA129\r"
REC3 = b"SNAO-7 AZ125.2 EL14.0 UP29450250 UMUSB DN435799750 DMLSB\r"  # no MA value
NO_SAT = b"**"


def shown(sat, az, el, rx, tx, dm, um, ma) -> dict[str, str]:
    return dict(zip(BOXES, (sat, az, el, rx, tx, dm, um, ma)))


# What the window shows for each record: the name keeps its separator, the
# frequencies are kHz with three decimals and at least six digits before
# the point, a record without MA shows "---".
BEFORE_FIRST = shown("", "", "", "", "", "", "", "")
SHOWN1 = shown(" AO-7 ", "123.4", "12.3", "435800.000", "145950.000", "LSB", "USB", "128")
SHOWN2 = shown(" AO-7 ", "124.0", "13.1", "435799.877", "145950.123", "LSB", "USB", "129")
SHOWN3 = shown(" AO-7 ", "125.2", "14.0", "435799.750", "029450.250", "LSB", "USB", "---")
BLANKED = shown(" No Satellite", "", "", "", "", "", "", "")


def avor_path(*options: str) -> bytes:
    line = " ".join(["C:\\Avor\\Avor.exe", "--script", SCRIPT, "--log", "C:\\Avor\\Avor.log", *options])
    return line.encode() + b"\r\n"


def write_script(wine, records: list[bytes]) -> None:
    """One record per line; the substitute strips the CR LF, not the record's own CR."""
    path = wine.drive_c(SCRIPT)
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(b"".join(r + b"\r\n" for r in records))


def main_window_up(drive) -> None:
    assert drive.wait_window(MAIN_CAPTION, WINDOW_SECONDS), (
        f"no window {MAIN_CAPTION!r} within {WINDOW_SECONDS} s; top-level windows:\n{drive.windows()}")


def boxes(drive) -> dict[str, str]:
    """The display boxes as two readings in a row agree on them: the boxes
    are read one after the other, and a record may arrive in between."""
    def read() -> dict[str, str]:
        texts = drive.named_texts(MAIN_CAPTION)
        assert texts is not None, "the main window went away"
        return {name: texts[name] for name in BOXES}
    last = read()
    for _ in range(5):
        now = read()
        if now == last:
            return now
        last = now
    raise AssertionError(f"the display boxes never stood still: {last}")


def test_scripted_pass_is_shown_record_by_record(profile, skylet, drive, wine, shot):
    profile(default_profile().replace(skylet={"AvorPath.SQF": avor_path()}))
    # Each record three times, so a reading lands on every one of them.
    write_script(wine, [NO_SAT] * 2 + [REC1] * 3 + [REC2] * 3 + [REC3] * 3 + [NO_SAT])
    skylet.start()
    main_window_up(drive)

    # Every reading must be one whole record's picture, in the script's order
    # (a picture may be missed between two readings, never mixed).
    states = [BEFORE_FIRST, BLANKED, SHOWN1, SHOWN2, SHOWN3, BLANKED]
    reached, seen = 0, set()
    deadline = time.monotonic() + 40
    while reached < len(states) - 1 and time.monotonic() < deadline:
        now = boxes(drive)
        later = [i for i in range(reached, len(states)) if states[i] == now]
        assert later, f"after state {reached} the window shows {now}, which is no record's picture"
        reached = later[0]
        if reached not in seen and 2 <= reached <= 4:
            shot(f"record{reached - 1}")
        seen.add(reached)
        time.sleep(0.2)
    assert reached == len(states) - 1, f"the pass stopped at state {reached}: {boxes(drive)}"
    assert {2, 3, 4} <= seen, f"records of the pass never seen in the window: {sorted({2, 3, 4} - seen)}"

    # The substitute was asked once a second, and every answer came from the script.
    requests = [e for e in partner_log(wine.drive_c("C:\\Avor\\Avor.log")) if e.startswith("request")]
    assert len(requests) >= 12


def test_lost_tracking_link_is_told_and_ends_skylet(profile, skylet, drive, wine, skylet_dir, shot):
    profile(default_profile().replace(skylet={"AvorPath.SQF": avor_path("--stop-after", "4")}))
    write_script(wine, [REC1])
    position = skylet_dir / "SkyletPos.SQF"
    os.utime(position, (978307200, 978307200))
    skylet.start()
    main_window_up(drive)
    assert wait_until(lambda: boxes(drive) == SHOWN1, 15, 0.2), boxes(drive)

    box = drive.see_msgbox(20)
    assert box is not None, f"no message after the tracking program ended; windows:\n{drive.windows()}"
    shot("msgbox")
    assert box.caption == "Skylet"
    assert box.lines == ["Der DDE-Link zu Avor ist abgebrochen worden,", "Skylet wird deshalb beendet."]
    assert skylet.running(), "Skylet ended before the operator read the message"

    assert drive.msgbox(5) is not None
    assert skylet.wait_exit(10), "Skylet still runs after the message"
    # It ended through the quit sequence, which stores the window position.
    assert position.stat().st_mtime > 978307200 + 1
    requests = [e for e in partner_log(wine.drive_c("C:\\Avor\\Avor.log")) if e.startswith("request")]
    assert len(requests) == 4


def test_operator_clicks_switches_and_focus_goes_back_to_keyboard_target(profile, skylet, drive, wine):
    profile(default_profile().replace(skylet={"AvorPath.SQF": avor_path()}))
    write_script(wine, [REC1])
    skylet.start()
    main_window_up(drive)
    assert drive.focus(MAIN_CAPTION) == ("picFocus", True), "picFocus does not have the keys at start"

    def switches() -> str:
        texts = drive.named_texts(MAIN_CAPTION)
        return texts["lblRotor"] + texts["lblCat"] + texts["lblPark"]

    # SkyletStart.SQF of the profile: tracking on, CAT and park off.
    assert switches() == " R+ C- P-"
    for control, after in (("lblCat", " R+ C+ P-"), ("lblCat", " R+ C- P-"),
                           ("lblPark", " R+ C- P+"), ("lblRotor", " R- C- P-")):
        assert drive.click(MAIN_CAPTION, control)
        assert wait_until(lambda: switches() == after, 5, 0.2), f"after {control}: {switches()}"

    for box in ("edRX", "edSat", "edAZ"):
        assert drive.click(MAIN_CAPTION, box)
        time.sleep(0.5)
        assert drive.focus(MAIN_CAPTION) == ("picFocus", True), f"{box} kept the focus"
    # The MA box does not hand the focus on.
    assert drive.click(MAIN_CAPTION, "edMA")
    assert wait_until(lambda: drive.focus(MAIN_CAPTION) == ("edMA", True), 5, 0.2)


def test_help_opens_in_notepad_and_the_window_stays_active(profile, skylet, drive, wine, shot):
    profile(default_profile().replace(skylet={"AvorPath.SQF": avor_path()}))
    write_script(wine, [NO_SAT])
    skylet.start()
    main_window_up(drive)

    assert drive.menu(MAIN_CAPTION, "&?")
    assert wait_until(lambda: "Skylet.txt" in drive.windows() and "notepad.exe" in drive.windows(),
                      20, 0.5), f"no Notepad with the help text; windows:\n{drive.windows()}"
    shot("help")
    assert drive.focus(MAIN_CAPTION) == ("picFocus", True), "the help took the focus"


# Documented place and size of each control in twips (left, top, width,
# height). The controls of the frame frHaupt are placed inside it, so they
# lie 25 twips further right on the window.
FRAME = (25, 0)
DOCUMENTED = {
    "frHaupt": (25, 0, 3120, 3400, False),
    "lblRotor": (120, 240, 470, 264, True),
    "lblCat": (620, 240, 470, 264, True),
    "lblPark": (1110, 240, 470, 264, True),
    "lblUebIntV": (1736, 144, 645, 192, True),
    "lblIntV": (1680, 360, 456, 192, True),
    "lblUebKorr": (2426, 140, 540, 192, True),
    "lblKorr": (2400, 360, 450, 192, True),
    "lblSat": (330, 744, 504, 252, True),
    "edSat": (920, 660, 1980, 372, True),
    "lblDwnl": (330, 1060, 828, 192, True),
    "edRX": (330, 1300, 1660, 372, True),
    "edDM": (2040, 1300, 813, 372, True),
    "lblUpl": (330, 1700, 648, 192, True),
    "edTX": (330, 1920, 1660, 372, True),
    "edUM": (2040, 1920, 813, 372, True),
    "lblAz": (330, 2380, 576, 192, True),
    "edAZ": (330, 2620, 810, 372, True),
    "lblEl": (1150, 2400, 780, 192, True),
    "edEL": (1180, 2620, 810, 372, True),
    "edUeMA": (2040, 2400, 676, 192, True),
    "edMA": (2040, 2620, 810, 372, True),
    "picFocus": (1200, 3600, 200, 200, False),
}


def test_every_control_sits_where_documented(profile, skylet, drive, wine):
    profile(default_profile().replace(skylet={"AvorPath.SQF": avor_path()}))
    write_script(wine, [NO_SAT])
    skylet.start()
    main_window_up(drive)
    dpi = drive.rect(MAIN_CAPTION).dpi
    placed = drive.layout(MAIN_CAPTION)
    assert placed is not None
    wrong = []
    for name, (left, top, width, height, in_frame) in DOCUMENTED.items():
        if in_frame:
            left, top = left + FRAME[0], top + FRAME[1]
        want = [twips_to_pixels(v, dpi) for v in (left, top, left + width, top + height)]
        p = placed.get(name)
        got = [p.left, p.top, p.left + p.width, p.top + p.height] if p else None
        if got is None or any(abs(g - w) > 1 for g, w in zip(got, want)):
            wrong.append(f"{name}: {got} px, documented {[round(w, 1) for w in want]} px")
    assert not wrong, "\n".join(wrong)
    texts = drive.texts(MAIN_CAPTION)
    hidden = {c.name for c in texts if not c.visible}
    assert hidden == {"lblDDE", "RotClientConv", "CatClientConv", "ArsClientConv"}
