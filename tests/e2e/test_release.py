"""The Windows download: what the zip holds, the program's version resource, and a bare Windows meeting it
(the first start, the demo script), unpacked from the zip of the win64 build under test."""

import re
import shutil
import struct
import subprocess
import sys
import zipfile

import pytest

import helpers
from helpers import MAIN_CAPTION, WINE, wait_until

sys.path.insert(0, str(helpers.REPO / "tools"))
import make_icon  # noqa: E402

VERSION = subprocess.run(["git", "describe", "--tags", "--always"], cwd=helpers.REPO, capture_output=True,
                         text=True, check=True).stdout.strip()
TOP = f"Skylet-{VERSION}/"
DEMO_SETTINGS = ["Vantrak/" + n for n in ("CatServer.SQF", "IcomName.SQF", "IcomPar.SQF", "KenwoodPar.SQF",
                                          "ParPort.SQF", "SatIni.SQF", "StandPos.SQF", "TRX.SQF", "Transvrt.SQF",
                                          "YaesuPar.SQF")] + \
                ["Skylet/" + n for n in ("DDEIntVCat.SQF", "DDEParkPos.SQF", "DDERotOpt.SQF", "SkyletPos.SQF",
                                         "SkyletStart.SQF")]
FILES = ["skylet.exe", "Skylet.txt", "README.txt", "LICENSE.txt", "CHANGES.txt", "demo/Demo.cmd",
         "demo/Skylet-Demo.txt", "demo/Avor.exe", "demo/RotServer.exe", *("demo/" + n for n in DEMO_SETTINGS)]
UNPACKED = "C:\\Download"


@pytest.fixture(scope="session")
def download(tmp_path_factory):
    """The zip, packed from the build under test as tools/release packs its own."""
    zip_path = tmp_path_factory.mktemp("download") / f"Skylet-{VERSION}-win64.zip"
    subprocess.run([str(helpers.REPO / "tools" / "release"), "--pack", str(helpers.BUILD), str(zip_path)],
                   check=True, timeout=120, stdin=subprocess.DEVNULL)
    return zip_path


def version_strings(exe: bytes, folder) -> dict[str, str]:
    """The version resource's strings as the MinGW resource compiler reads them back."""
    (folder / "skylet.exe").write_bytes(exe)
    rc = subprocess.run(["x86_64-w64-mingw32-windres", "-i", str(folder / "skylet.exe"), "-O", "rc"],
                        capture_output=True, text=True, check=True, timeout=60).stdout
    return dict(re.findall(r'VALUE "(\w+)", "([^"]*)"', rc))


def test_the_download_holds_every_file_and_the_program_names_its_version(download, check, tmp_path):
    with zipfile.ZipFile(download) as z:
        check("the listed files, in this order", z.namelist() == [TOP + n for n in FILES], z.namelist())
        read = lambda name: z.read(TOP + name)
        exe = read("skylet.exe")
        for name in FILES:
            if name.endswith((".txt", ".cmd", ".SQF")):
                check(f"{name}: Windows line ends", b"\n" not in read(name).replace(b"\r\n", b""))
        check("the operator's README", b"## Download and install on Windows" in read("README.txt")
              and b"## Building and running" not in read("README.txt"))
    strings = version_strings(exe, tmp_path)
    print("version resource:", strings)
    check("version resource", strings.get("ProductName") == "Skylet" and strings.get("ProductVersion") == VERSION
          and strings.get("FileVersion") == VERSION and strings.get("FileDescription", "").startswith("Skylet"),
          strings)
    # Each picture of the icon file lies in the program's resources as it is.
    icon = make_icon.ico()
    count = struct.unpack_from("<H", icon, 4)[0]
    pictures = [struct.unpack_from("<II", icon, 6 + 16 * i + 8) for i in range(count)]
    check("the icon", all(icon[offset:offset + size] in exe for size, offset in pictures))


def unpack(wine, download) -> str:
    """The zip unpacked into C:\\Download, no settings folder in the prefix: the Windows path of skylet.exe's
    folder."""
    target = wine.drive_c(UNPACKED)
    shutil.rmtree(target, ignore_errors=True)
    with zipfile.ZipFile(download) as z:
        z.extractall(target)
    for folder in (wine.vantrak_dir, wine.skylet_dir):
        shutil.rmtree(folder, ignore_errors=True)
    return UNPACKED + "\\" + TOP.rstrip("/")


def windows_path(wine, folder) -> str:
    return "C:\\" + str(folder.relative_to(wine.root / "drive_c")).replace("/", "\\") + "\\"


def test_a_first_start_is_told_once_then_the_start_up_goes_on(wine, drive, shot, download, request):
    folder = unpack(wine, download)
    with open(helpers.SHOTS / "first-start.log", "wb") as log:
        skylet = helpers.background([WINE, "skylet.exe"], log, cwd=wine.drive_c(folder), env=wine.env)
    request.addfinalizer(wine.end_all_programs)
    helpers.told(drive, shot, [
        "Das sieht nach dem ersten Start von Skylet aus: keiner der beiden Einstellungsordner ist da.",
        re.compile(re.escape(windows_path(wine, wine.vantrak_dir)) + re.escape(
            "  (Funkger\u00e4t, Schnittstellen, Server; von Vantrak geschrieben)"), re.I),
        re.compile(re.escape(windows_path(wine, wine.skylet_dir) + "  (Skylets eigene Einstellungen)"), re.I),
        "Skylet braucht das Trackingprogramm Avor; Rotor- und Cat-Server sind nicht gew\u00e4hlt.",
        "Zuerst im Ordner Skylet die Datei AvorPath.SQF mit dem Pfad von Avor anlegen (eine Zeile, z. B. "
        "C:\\Avor\\Avor.exe), dann im Men\u00fc Setup die Server und die Schalter beim Start w\u00e4hlen.",
        "Skylet geht jetzt mit Standardwerten weiter; l\u00e4uft Avor noch nicht, endet es gleich."])
    # No list of missing files follows: the start-up goes on to Avor, which no path names.
    helpers.told(drive, shot, ["Avor kann unter dem im File 'AvorPath.SQF' angegebenen Pfad nicht ",
                               "geladen werden. Geben Sie dort den Pfad und als Namen: Avor an.",
                               "Skylet wird jetzt beendet."])
    assert wait_until(lambda: skylet.poll() is not None, 10), "Skylet still runs after its last message"
    assert not wine.vantrak_dir.exists() and not wine.skylet_dir.exists(), "a start wrote a settings folder"


def test_the_demo_script_shows_a_pass_and_keeps_a_stations_settings(wine, drive, shot, download, request, check):
    demo = unpack(wine, download) + "\\demo"
    request.addfinalizer(wine.end_all_programs)

    def run_demo() -> int:  # its output to a file: the programs it starts would hold a pipe open
        with open(helpers.SHOTS / "demo-cmd.log", "ab") as log:
            return subprocess.run([WINE, "cmd", "/c", demo + "\\Demo.cmd"], env=wine.env, timeout=60,
                                  stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT).returncode
    # A station's own folder stops the demo before it writes or starts anything.
    wine.skylet_dir.mkdir(parents=True)
    check("a station's settings: refused", run_demo() == 1 and not wine.vantrak_dir.exists()
          and list(wine.skylet_dir.iterdir()) == [] and not drive.wait_window(MAIN_CAPTION, 0))
    wine.skylet_dir.rmdir()
    assert run_demo() == 0
    assert drive.wait_window(MAIN_CAPTION, 30), f"no main window:\n{drive.windows()}"
    azimuths = []

    def tracked() -> bool:  # the demo satellite rises within seconds: three azimuths in turn
        texts = drive.named_texts(MAIN_CAPTION) or {}
        if texts.get("edSat", "").strip() == "DEMO-1" and texts["edAZ"] not in azimuths[-1:]:
            azimuths.append(texts["edAZ"])
        return len(azimuths) >= 3
    check("DEMO-1 tracked", wait_until(tracked, 40, 1.0), (azimuths, drive.named_texts(MAIN_CAPTION)))
    shot("pass")
    check("no message", drive.no_msgbox(0))
    positions = wine.log(demo + "\\RotServer.log", "execute RotServConv ")
    check("the rotor server turned", len([p for p in positions if re.search(r" \d+ \d+$", p)]) >= 2, positions)
    check("marked as the demo's", (wine.skylet_dir / "Skylet-Demo.txt").exists())
    assert drive.close(MAIN_CAPTION)
