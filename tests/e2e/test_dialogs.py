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
    assert lists["lstTransverter"].text.split("\n") == [" 0, 0", " 2256000, 0"]
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


def test_correction_step_and_offsets_reach_the_radio(profile, serial_line, skylet, drive, wine,
                                                     skylet_dir, shot):
    """A TS-2000 behind a 2.4 GHz converter: the arrow keys, the dialog
    "Catsteuerung" and the dialog "Mode" each change what the next record
    sends; the repeated record sends nothing in between."""
    from profiles import sat_ini
    from test_startup_links import start_options

    profile(default_profile().replace(
        vantrak={"SatIni.SQF": sat_ini(3, 20), "KenwoodPar.SQF": b"TS-2000\r\n9600\r\n0\r\n"},
        skylet={"AvorPath.SQF": avor_path(), "SkyletStart.SQF": start_options(cat="+")}))
    write_script(wine, [b"SNAO-7 AZ123.4 EL12.3 UP145950000 UMUSB DN2401000000 DMLSB MA7\r"])
    line = serial_line(3)
    skylet.start()
    main_window_up(drive)

    def frequencies_after(count: int) -> list[str]:
        """The FA/FB commands once `count` of them have arrived."""
        wait_until(lambda: line.data().count(b"F") >= count, 10, 0.1)
        return [c + ";" for c in line.data().decode().split(";") if c.startswith(("FA", "FB"))]

    assert frequencies_after(2) == ["FA02401000000;", "FB00145950000;"]

    # Right arrow: +100 Hz on the downlink, the same share on the uplink.
    assert drive.run("key", MAIN_CAPTION, "picFocus", "39").code == 0
    assert frequencies_after(4)[2:] == ["FA02401000100;", "FB00145950006;"]
    assert drive.named_texts(MAIN_CAPTION)["lblKorr"] == "100"

    # The dialog: the 100 Hz correction spin down, the 100 Hz step spin up,
    # "Intv. ok" stores the step.
    assert drive.menu(MAIN_CAPTION, "&Cat")
    assert drive.wait_window("Catsteuerung", 10), drive.windows()
    assert drive.named_texts("Catsteuerung")["edKorr"] == "100"
    assert drive.run("key", "Catsteuerung", "ScrollKorr100", "40").code == 0
    assert frequencies_after(6)[4:] == ["FA02401000000;", "FB00145950000;"]
    assert drive.run("key", "Catsteuerung", "ScrollIntV100", "38").code == 0
    assert wait_until(lambda: drive.named_texts("Catsteuerung")["edIntV"] == "200", 5)
    shot("catsteuer")
    assert drive.click("Catsteuerung", "cmdIntVStore")
    assert wait_until(lambda: (skylet_dir / "DDEIntVCat.SQF").read_bytes() == b" 200\r\n", 5)
    assert drive.close("Catsteuerung")
    assert wait_until(lambda: drive.rect("Catsteuerung") is None, 5), "the close box destroys it"
    assert drive.named_texts(MAIN_CAPTION)["lblIntV"] == "200"

    # "Mode": the converter row 2256000/0, OK: the downlink goes out 145000 kHz.
    assert drive.menu(MAIN_CAPTION, "&Mode")
    assert wait_until(lambda: drive.rect("Mode").visible, 10)
    assert drive.click("Mode", "lstTransverter", row=1)
    assert drive.click("Mode", "cmdOK")
    assert frequencies_after(8)[6:] == ["FA00145000000;", "FB00145950000;"]
    assert wait_until(lambda: (drive.named_texts(MAIN_CAPTION) or {}).get("edRX") == "2401000.000", 5), (
        "the display keeps the sky frequency")
    assert len(frequencies_after(8)) == 8, "the repeated record sends nothing more"
