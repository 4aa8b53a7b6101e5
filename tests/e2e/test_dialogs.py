"""The dialogs behind the main window's menus, with tracking records arriving
underneath: a dialog is modal to the operator but not to the station."""

from __future__ import annotations

from helpers import MAIN_CAPTION, wait_until
from profiles import default_profile
from test_main_window import avor_path, main_window_up, write_script

# A record a second with an azimuth of its own, so the main window visibly
# follows the pass while a dialog is open.
RECORDS = [f"SNAO-7 AZ{100 + i}.0 EL12.3 UP145950000 UMUSB DN435800000 DMLSB MA128\r".encode()
           for i in range(120)]
# SkyletPos.SQF of the default profile: the main window's corner lies in the
# upper left, so a dialog opens 1000 twips to the right of and below it.
DIALOG_OFFSET_TWIPS = 1000


def test_mode_dialog_is_modal_placed_by_the_main_window_and_records_keep_coming(
        profile, skylet, drive, wine, shot):
    profile(default_profile().replace(skylet={"AvorPath.SQF": avor_path()}))
    write_script(wine, RECORDS)
    skylet.start()
    main_window_up(drive)
    main = drive.rect(MAIN_CAPTION)
    assert main is not None and main.enabled

    assert drive.menu(MAIN_CAPTION, "&Mode")
    assert drive.wait_window("Mode", 10), f"no dialog 'Mode'; windows:\n{drive.windows()}"
    dialog = drive.rect("Mode")

    # Placed at the main window's corner plus the offsets, in twips.
    def placed(corner_px: int) -> float:
        return round((corner_px * 1440 / main.dpi + DIALOG_OFFSET_TWIPS) * main.dpi / 1440)
    assert (abs(dialog.left - placed(main.left)) <= 1 and abs(dialog.top - placed(main.top)) <= 1), (
        f"dialog at {dialog.left},{dialog.top}, main window at {main.left},{main.top}")

    # Modal to the operator: the main window takes no clicks or keys.
    assert not drive.rect(MAIN_CAPTION).enabled, "the main window takes input under the dialog"
    assert drive.rect("Mode").enabled

    # The lists the start-up filled, first rows selected.
    lists = {c.name: c for c in drive.texts("Mode") if c.name.startswith("lst")}
    assert [row.replace(" ", "") for row in lists["lstTransverter"].text.split("\n")] == ["0,0", "2256000,0"]
    assert lists["lstAdress"].text.split("\n") == [" &H60    &H60", " &H5E    &H5E"]
    assert lists["lstTransverter"].value == 0 and lists["lstAdress"].value == 0

    # The station goes on underneath: the azimuth moves on record by record.
    seen: set[str] = set()
    assert wait_until(lambda: seen.add(drive.named_texts(MAIN_CAPTION)["edAZ"]) or len(seen) >= 3, 10, 0.3), (
        f"records stopped while the dialog was open: azimuths {seen}")
    shot("open")

    # "abbrechen" hides it, and the main window has the keys again.
    assert drive.click("Mode", "cmdCancel")
    assert wait_until(lambda: not drive.rect("Mode").visible, 5), "the dialog did not hide"
    assert wait_until(lambda: drive.rect(MAIN_CAPTION).enabled, 5)
    assert wait_until(lambda: drive.focus(MAIN_CAPTION) == ("picFocus", True), 5), drive.focus(MAIN_CAPTION)

    # Hidden, not unloaded: it comes back with the rows chosen before.
    assert drive.menu(MAIN_CAPTION, "&Mode")
    assert wait_until(lambda: drive.rect("Mode").visible, 5)
    assert drive.click("Mode", "cmdOK")
    assert wait_until(lambda: not drive.rect("Mode").visible, 5), "OK did not hide the dialog"
    assert wait_until(lambda: drive.rect(MAIN_CAPTION).enabled, 5)
