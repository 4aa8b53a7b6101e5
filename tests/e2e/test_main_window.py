"""A default station from start to close box: placement, switches, focus, help, Mode, Setup (records: faults)."""

import time

from helpers import LONG_AGO, MAIN_CAPTION, dialog, quit_skylet, record, wait_until
from profiles import start_options, station

MOVING = [record(f"{100 + i}.0") for i in range(300)]
# Place and size in twips (left, top, width, height) of the frame, the keyboard target and controls at the
# frame's corners, which lie 25 further right: the form table's twips become the screen's pixels.
IN_FRAME = {"lblRotor": (120, 240, 470, 264), "edSat": (920, 660, 1980, 372), "edMA": (2040, 2620, 810, 372)}
LAYOUT = {"frHaupt": (25, 0, 3120, 3400), "picFocus": (1200, 3600, 200, 200),
          **{name: (left + 25, top, width, height) for name, (left, top, width, height) in IN_FRAME.items()}}


def test_default_station_from_start_to_close_box(profile, skylet, drive, wine, shot, check):
    # No rotor interface: no rotor link is opened (nor a server started: unit), yet the quit waits its second.
    profile(station(start_options(rotor="+", dde_rotor="+")), [b"**"] * 2 + MOVING)
    skylet_dir, position = wine.skylet_dir, wine.skylet_dir / "SkyletPos.SQF"
    skylet.start(window=False)
    started, cpu_before = time.monotonic(), skylet.cpu_seconds()
    # The rotor server is chosen, but without a rotor interface number it is never linked: said at start
    # (in the words of the unit StartUpLinks row).
    assert drive.msgbox(30), drive.windows()
    assert drive.wait_window(MAIN_CAPTION, 30), drive.windows()

    avor = lambda: wine.log("C:\\Avor\\Avor.log")
    check("Avor started from its path and linked", avor()[:2] == ["start", "connect Tracking"], avor()[:2])
    check("no other message", drive.no_msgbox(1))
    shot("start")

    main = drive.rect(MAIN_CAPTION)
    px = lambda twips: twips * main.dpi / 1440
    near = lambda got, twips, slack=1: all(abs(g - px(t)) <= slack for g, t in zip(got, twips))
    check("window where SkyletPos.SQF left it", near((main.left, main.top), (1500, 1200)), main)
    check("client area", near((main.client_width, main.client_height), (3180, 3435), 2), main)
    placed = drive.layout(MAIN_CAPTION)
    for name, (left, top, width, height) in LAYOUT.items():
        p, want = placed.get(name), (left, top, left + width, top + height)
        got = p and (p[0], p[1], p[0] + p[2], p[1] + p[3])
        check(f"{name} where documented", got and near(got, want), f"{got} px, documented {want} twips")
    hidden = {c.name for c in drive.texts(MAIN_CAPTION) if not c.visible}
    check("the link controls hidden", hidden == {"lblDDE", "RotClientConv", "CatClientConv", "ArsClientConv"},
          hidden)

    has_keys = lambda: drive.focus(MAIN_CAPTION) == ("picFocus", True)
    check("picFocus has the keys at start", has_keys(), drive.focus(MAIN_CAPTION))
    assert drive.menu(MAIN_CAPTION, "&?")
    help_up = lambda: "Skylet.txt" in (windows := drive.windows()) and "notepad.exe" in windows
    check("help in Notepad", wait_until(help_up, 20, 0.5), drive.windows())
    shot("help")
    check("the help leaves the keys with the window", has_keys(), drive.focus(MAIN_CAPTION))
    drive.close("Skylet.txt - Notepad")  # out of the way of the dialogs' screenshots
    switches = lambda: "".join(drive.named_texts(MAIN_CAPTION)[n] for n in ("lblRotor", "lblCat", "lblPark"))
    check("switches as SkyletStart.SQF says", switches() == " R+ C- P-", switches())
    # Park off leaves tracking on; tracking off takes park with it; tracking on does not turn park on.
    for control, after in (("lblCat", " R+ C+ P-"), ("lblCat", " R+ C- P-"), ("lblPark", " R+ C- P+"),
                           ("lblPark", " R+ C- P-"), ("lblPark", " R+ C- P+"), ("lblRotor", " R- C- P-"),
                           ("lblRotor", " R+ C- P-"), ("lblCat", " R+ C+ P-")):
        assert drive.click(MAIN_CAPTION, control)
        check(f"{control} clicked to {after}", wait_until(lambda: switches() == after, 5, 0.2), switches())
    assert drive.click(MAIN_CAPTION, "edMA")
    check("edMA keeps the keys", wait_until(lambda: drive.focus(MAIN_CAPTION) == ("edMA", True), 5, 0.2))
    for box in ("edRX", "edSat", "edAZ"):
        assert drive.click(MAIN_CAPTION, box)
        time.sleep(0.5)
        check(f"{box} hands the keys back", has_keys(), drive.focus(MAIN_CAPTION))

    azimuths: set[str] = set()
    records_go_on = lambda: wait_until(lambda: azimuths.add(drive.named_texts(MAIN_CAPTION)["edAZ"])
                                       or len(azimuths) >= 3, 10, 0.3)
    check("the main window takes input before Mode", drive.rect(MAIN_CAPTION).enabled)
    dialog(drive, "&Mode", "Mode")
    # Where it opens: unit DialogPlacement, and twips placed as pixels like the main window's.
    check("Mode is modal", not drive.rect(MAIN_CAPTION).enabled and drive.rect("Mode").enabled)
    lists = {c.name: (c.text.split("\n"), c.value) for c in drive.texts("Mode") if c.name.startswith("lst")}
    check("converters listed, first chosen", lists["lstTransverter"] == ([" 0, 0", " 2256000, 0"], 0), lists)
    check("records go on under Mode", records_go_on(), azimuths)
    shot("mode")
    assert drive.click("Mode", "cmdCancel")  # hidden, not unloaded: a window gone has no rect to look at
    check("abbrechen hides Mode", wait_until(lambda: not drive.rect("Mode").visible, 5))
    check("the keys back after Mode", wait_until(lambda: drive.rect(MAIN_CAPTION).enabled and has_keys(), 5))

    # One real pass through Setup (what it fills and stores: tests/unit/ui_main_window_test.cpp): the first
    # tab stop has the keys, a caption keeps its umlaut, a click on one button of an array is stored at OK.
    dialog(drive, "&Setup", "Setup")
    check("abbrechen has the keys first", drive.focus("Setup") == ("cmdCancel", True), drive.focus("Setup"))
    controls = drive.texts("Setup")
    frame = [c.text for c in controls if c.name == "Frame1"]
    check("frame caption", frame == [" Funkger\u00e4t "], frame)
    shot("setup")
    by_time = [c.id for c in controls if c.name == "RotOpt" and c.text == "Zeitablauf"]
    assert len(by_time) == 1 and drive.click("Setup", by_time[0]), by_time
    assert drive.click("Setup", "cmdOK")
    check("OK hides Setup", wait_until(lambda: not drive.rect("Setup").visible and drive.rect(MAIN_CAPTION).enabled, 5))
    stored = (skylet_dir / "DDERotOpt.SQF").read_bytes()
    check("tracking options stored", stored == b"i\r\n 10\r\n 5\r\nk\r\n", stored)

    seconds = time.monotonic() - started
    asked = sum(e.startswith("request") for e in avor())
    check("Avor asked once a second", seconds / 2 <= asked <= seconds + 1, (asked, seconds))
    cpu = (skylet.cpu_seconds() - cpu_before) / seconds  # 1 % here; a spinning message loop: 30 %
    check("no busy waiting", cpu < 0.1, f"{cpu:.0%} of a core")
    check("the quit waits for the rotor link", quit_skylet(skylet, drive, "close box") >= 0.95)
    check("window position rewritten, same bytes",
          position.stat().st_mtime > LONG_AGO + 1 and position.read_bytes() == b" 1200\r\n 1500\r\n")
    leftovers = [p.name for d in (skylet_dir, wine.vantrak_dir) for p in d.iterdir()
                 if p.name.startswith("~") or not p.name.upper().endswith(".SQF")]
    check("no temporary files left", not leftovers, leftovers)
