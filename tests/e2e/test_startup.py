"""Starting and quitting Skylet: the main window, its place on the screen, and
what happens when a settings file is missing."""

from __future__ import annotations

import os
import re

from helpers import MAIN_CAPTION, twips_to_pixels
from profiles import default_profile

WINDOW_SECONDS = 20

SETTINGS_PROBLEMS_HEADER = "Einige Einstellungsdateien fehlen oder sind fehlerhaft:"
SETTINGS_PROBLEMS_FOOTER = "Skylet arbeitet ohne diese Werte weiter."

# SkyletPos.SQF of the default profile: top, then left, in twips.
SAVED_TOP_TWIPS, SAVED_LEFT_TWIPS = 1200, 1500
CLIENT_WIDTH_TWIPS, CLIENT_HEIGHT_TWIPS = 3180, 3435


def wait_for_main_window(drive):
    assert drive.wait_window(MAIN_CAPTION, WINDOW_SECONDS), (
        f"no window {MAIN_CAPTION!r} within {WINDOW_SECONDS} s; top-level windows:\n{drive.windows()}")


def test_complete_profile_opens_main_window_where_it_was_left(profile, skylet, drive, shot):
    profile(default_profile())
    skylet.start()

    wait_for_main_window(drive)
    box = drive.no_msgbox(3)
    assert box is None, f"unexpected message box with a complete profile: {box}"
    shot()

    rect = drive.rect(MAIN_CAPTION)
    assert rect is not None
    expected_left = twips_to_pixels(SAVED_LEFT_TWIPS, rect.dpi)
    expected_top = twips_to_pixels(SAVED_TOP_TWIPS, rect.dpi)
    assert abs(rect.left - expected_left) <= 1 and abs(rect.top - expected_top) <= 1, (
        f"window at ({rect.left}, {rect.top}) px, SkyletPos.SQF says "
        f"({expected_left:.1f}, {expected_top:.1f}) px at {rect.dpi} DPI")
    expected_width = twips_to_pixels(CLIENT_WIDTH_TWIPS, rect.dpi)
    expected_height = twips_to_pixels(CLIENT_HEIGHT_TWIPS, rect.dpi)
    assert abs(rect.client_width - expected_width) <= 2 and abs(rect.client_height - expected_height) <= 2, (
        f"client area {rect.client_width} x {rect.client_height} px, expected "
        f"{expected_width:.1f} x {expected_height:.1f} px at {rect.dpi} DPI")


def test_missing_transceiver_file_is_reported_and_skylet_goes_on(profile, skylet, drive, shot):
    profile(default_profile().without(vantrak=["TRX.SQF"]))
    skylet.start()

    box = drive.see_msgbox(WINDOW_SECONDS)
    assert box is not None, f"no message box about the missing TRX.SQF; windows:\n{drive.windows()}"
    shot("msgbox")
    assert drive.msgbox(5) is not None, "the message box went away before OK was pressed"

    assert box.caption == "Skylet"
    assert box.lines[0] == SETTINGS_PROBLEMS_HEADER, box.lines
    assert box.lines[-1] == SETTINGS_PROBLEMS_FOOTER, box.lines
    problems = box.lines[1:-1]
    assert len(problems) == 1, f"only TRX.SQF is missing, the box lists {problems}"
    path, _, problem = problems[0].partition(": ")
    assert re.match(r"^[A-Za-z]:\\", path), f"not a full path: {path!r}"
    assert path.lower().endswith("\\vantrak\\trx.sqf"), path
    assert "nicht gefunden" in problem, problems[0]

    # Skylet carries on with empty values: the main window comes up and
    # nothing else is complained about.
    wait_for_main_window(drive)
    later = drive.no_msgbox(2)
    assert later is None, f"second message box after OK: {later}"
    shot()


# Far enough in the past that any rewrite shows in the modification time.
LONG_AGO = 978307200  # 2001-01-01


def test_quitting_rewrites_window_position_without_leftovers(
        profile, skylet, drive, skylet_dir, vantrak_dir):
    profile(default_profile())
    position_file = skylet_dir / "SkyletPos.SQF"
    os.utime(position_file, (LONG_AGO, LONG_AGO))
    skylet.start()
    wait_for_main_window(drive)

    assert drive.close(MAIN_CAPTION)
    assert skylet.wait_exit(10), "Skylet still runs 10 s after its window was asked to close"

    assert position_file.stat().st_mtime > LONG_AGO + 1, "SkyletPos.SQF was not rewritten"
    assert position_file.read_bytes() == b" 1200\r\n 1500\r\n"
    for folder in (skylet_dir, vantrak_dir):
        leftovers = [p.name for p in folder.iterdir()
                     if p.name.startswith("~") or not p.name.upper().endswith(".SQF")]
        assert not leftovers, f"temporary files left in {folder}: {leftovers}"
