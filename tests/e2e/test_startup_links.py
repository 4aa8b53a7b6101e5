"""The start-up's links to its partners under Wine: a tracking program already running, a CAT
server found by its topic alone, and the end when the tracking link is lost."""

from __future__ import annotations

import time

from helpers import LONG_AGO, boxes, record, shown, told, wait_until
from profiles import default_profile, start_options

LOST = ["Der DDE-Link zu Avor ist abgebrochen worden,", "Skylet wird deshalb beendet."]


def test_running_avor_and_cat_server_are_linked_and_a_lost_tracking_link_ends_skylet(
        profile, partner, skylet, drive, wine, shot, check):
    # A CAT server under a name no settings file knows: only a link naming no application reaches it.
    profile(default_profile().replace(skylet={"SkyletStart.SQF": start_options(cat="+", dde_cat="+")}),
            [record()], {"C:\\Other\\OtherCat.exe": "RotServer.exe"})
    partner("C:\\Avor\\Avor.exe", "--script", "C:\\Avor\\pass.txt", "--log", "C:\\Avor\\byhand.log",
            "--stop-after", "4")
    partner("C:\\Other\\OtherCat.exe", "--topics", "CatServConv")
    assert wait_until(lambda: "start" in wine.log("C:\\Avor\\byhand.log"), 20, 0.2), "Avor did not come up"
    time.sleep(2)  # the CAT server registers its name
    skylet.start()
    check("no message at start", drive.no_msgbox(1))
    check("record shown", wait_until(lambda: boxes(drive) == shown(
        " AO-7 ", "123.4", "12.3", "435800.000", "145950.000", "LSB", "USB", "128"), 15, 0.2), boxes(drive))

    told(drive, shot, LOST, 20, answer=False)
    check("Skylet waits for the operator", skylet.running())
    assert drive.msgbox(5)
    assert skylet.wait_exit(10), "Skylet still runs after the message"
    check("ended through the quit sequence", (wine.skylet_dir / "SkyletPos.SQF").stat().st_mtime > LONG_AGO + 1)
    avor = wine.log("C:\\Avor\\byhand.log")
    check("the running Avor linked and asked 4 times", avor[:2] == ["start", "connect Tracking"]
          and sum(e.startswith("request") for e in avor) == 4, avor)
    check("no second Avor started", wine.log("C:\\Avor\\Avor.log") == [])
    cat = wine.log("C:\\Other\\OtherCat.log", "connect", "execute")
    check("CAT server found by topic, greeted, switched on and off", cat == [
        "connect CatServConv", "execute CatServConv ClientOn", "execute CatServConv RaOpen",
        "execute CatServConv SMLSB USB", "execute CatServConv SF0435800.000 0145950.000",
        "execute CatServConv RaClose"], cat)
    check("no CAT server started", wine.log("C:\\Vantrak\\CatServer.log") == [])
