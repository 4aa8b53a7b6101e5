"""The setup dialog under Wine: opened from the main window's menu, filled
from the settings files, driven through its options, check boxes and spin
buttons while records keep arriving, and OK storing both files."""

from __future__ import annotations

from helpers import MAIN_CAPTION, Control, wait_until
from profiles import default_profile
from test_main_window import avor_path, main_window_up, write_script

CAPTION = "Setup"
VK_UP, VK_DOWN = 38, 40
RECORDS = [f"SNAO-7 AZ{100 + i}.0 EL12.3 UP145950000 UMUSB DN435800000 DMLSB MA128\r".encode()
           for i in range(120)]


def controls(drive) -> list[Control]:
    found = drive.texts(CAPTION)
    assert found is not None, f"no window {CAPTION!r}:\n{drive.windows()}"
    return found


def element(drive, name: str, caption: str) -> Control:
    """An element of a control array: its elements share the array's name,
    so the caption tells them apart."""
    matches = [c for c in controls(drive) if c.name == name and c.text == caption]
    assert len(matches) == 1, f"{name} {caption!r}: {[(c.name, c.text) for c in controls(drive)]}"
    return matches[0]


def named(drive) -> dict[str, Control]:
    return {c.name: c for c in controls(drive) if c.name}


def test_setup_dialog_from_the_menu_to_the_stored_files(profile, skylet, drive, wine, skylet_dir,
                                                         shot):
    profile(default_profile().replace(skylet={"AvorPath.SQF": avor_path()}))
    write_script(wine, RECORDS)
    start_before = (skylet_dir / "SkyletStart.SQF").read_bytes()
    skylet.start()
    main_window_up(drive)

    assert drive.menu(MAIN_CAPTION, "&Setup")
    assert drive.wait_window(CAPTION, 10), f"no dialog {CAPTION!r}; windows:\n{drive.windows()}"
    assert not drive.rect(MAIN_CAPTION).enabled, "the main window takes input under the dialog"

    # Filled from the files: Kenwood, by angle change 10 / 5 constant, rotor
    # on at start and nothing else; the captions' umlauts intact.
    assert element(drive, "optTRX", "Kenwood").value == 1, "family from TRX.SQF"
    assert element(drive, "optTRX", "Icom").value == 0
    assert element(drive, "RotOpt", "Winkel\u00e4nderg.").value == 1, "tracking basis"
    assert element(drive, "OptWinkel", "konstant").value == 1, "angle test"
    c = named(drive)
    assert (c["edIntV"].text, c["edMinWin"].text) == ("10", "5"), "interval and angle boxes"
    checks = ("chkStartOptR", "chkStartOptC", "ChkStartOptP", "chkDDER", "chkDDEC")
    assert [c[n].value for n in checks] == [1, 0, 0, 0, 0], "start options"
    assert c["Frame1"].text == " Funkger\u00e4t ", "frame caption"
    assert not c["ScrollIntV"].enabled and c["ScrollMinWin"].enabled, "enabling by angle change"
    assert drive.focus(CAPTION) == ("cmdCancel", True), "abbrechen has the keys first"

    # Records keep coming underneath: the azimuth moves on.
    seen: set[str] = set()
    azimuth = lambda: drive.named_texts(MAIN_CAPTION)["edAZ"]
    assert wait_until(lambda: seen.add(azimuth()) or len(seen) >= 3, 10, 0.3), (
        f"records stopped while the dialog was open: azimuths {seen}")
    shot("dialog")

    # By time: the interval spin comes alive; two up, one down, and the
    # angle test is disabled.
    assert drive.click(CAPTION, element(drive, "RotOpt", "Zeitablauf").id)
    assert wait_until(lambda: named(drive)["ScrollIntV"].enabled, 5), "interval spin still disabled"
    assert not element(drive, "OptWinkel", "konstant").enabled, "angle test enabled by time"
    for key in (VK_UP, VK_UP, VK_DOWN, VK_UP):
        assert drive.run("key", CAPTION, "ScrollIntV", str(key)).code == 0
    assert wait_until(lambda: named(drive)["edIntV"].text == "12", 5), named(drive)["edIntV"].text

    # Check boxes: rotor off at start, CAT server on.
    assert drive.click(CAPTION, "chkStartOptR")
    assert drive.click(CAPTION, "chkDDEC")
    assert wait_until(lambda: [named(drive)[n].value for n in checks] == [0, 0, 0, 0, 1], 5)
    assert (skylet_dir / "SkyletStart.SQF").read_bytes() == start_before, "stored before OK"

    # OK stores both files and hides the dialog.
    assert drive.click(CAPTION, "cmdOK")
    assert wait_until(lambda: not drive.rect(CAPTION).visible, 5), "OK did not hide the dialog"
    assert wait_until(lambda: drive.rect(MAIN_CAPTION).enabled, 5)
    assert (skylet_dir / "SkyletStart.SQF").read_bytes() == b"-\r\n-\r\n-\r\n-\r\n+\r\n"
    assert (skylet_dir / "DDERotOpt.SQF").read_bytes() == b"i\r\n 12\r\n 5\r\nk\r\n"

    # Opened again, it shows what was stored; the close box unloads it.
    assert drive.menu(MAIN_CAPTION, "&Setup")
    assert wait_until(lambda: drive.rect(CAPTION) is not None and drive.rect(CAPTION).visible, 5)
    c = named(drive)
    assert (c["edIntV"].text, [c[n].value for n in checks]) == ("12", [0, 0, 0, 0, 1]), "re-read"
    assert drive.close(CAPTION)
    assert wait_until(lambda: drive.rect(CAPTION) is None, 5), "the close box left the dialog"
    assert wait_until(lambda: drive.rect(MAIN_CAPTION).enabled, 5)
