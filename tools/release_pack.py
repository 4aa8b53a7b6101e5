#!/usr/bin/env python3
"""Packs a built win64 tree into the Windows download, the same bytes from the same commit.

usage: release_pack.py BUILD_DIR ZIP VERSION EPOCH

Every entry carries the commit's time (EPOCH, seconds; zip keeps local time without a zone, written here
as UTC), the same attributes and the same place in the list; the texts get Windows line ends."""

import re
import sys
import time
import zipfile
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))
from profiles import SKYLET_DEFAULT, VANTRAK_DEFAULT, sat_ini, start_options  # noqa: E402

# The README's parts an operator needs, in their order there; the rest is about building and testing.
OPERATOR_SECTIONS = ("Download and install on Windows", "Operating Skylet during a pass",
                     "What Skylet does when things go wrong", "Settings", "Using Skylet with Hamlib")


def windows_text(text: str) -> bytes:
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


def operator_readme(version: str) -> bytes:
    sections = re.split(r"^## ", (REPO / "README.md").read_text(encoding="utf-8"), flags=re.M)
    chosen = {s.split("\n", 1)[0].strip(): s for s in sections[1:]}
    missing = [name for name in OPERATOR_SECTIONS if name not in chosen]
    if missing:
        sys.exit(f"release_pack: the README has no section {missing}")
    body = "\n".join("## " + chosen[name].rstrip() + "\n" for name in OPERATOR_SECTIONS)
    # The screenshots stay in the repository; a text file cannot show them.
    body = re.sub(r"!\[[^\]]*\]\([^)]*\) ?", "", body)
    # The byte order mark makes every Notepad read the umlauts as UTF-8.
    return b"\xef\xbb\xbf" + windows_text(f"Skylet {version}\n\n{body}")


def demo_settings() -> dict[str, bytes]:
    """The demo station: no radio port, the rotor server on interface 1 (a position goes out only with a
    number above 0), linked and following; the script adds the paths."""
    vantrak = {**VANTRAK_DEFAULT, "SatIni.SQF": sat_ini(cat_port=0, rot_type=1)}
    skylet = {**SKYLET_DEFAULT, "SkyletStart.SQF": start_options(rotor="+", park="+", dde_rotor="+")}
    del vantrak["RotorServer.SQF"], skylet["AvorPath.SQF"]
    return {**{f"demo/Vantrak/{n}": b for n, b in sorted(vantrak.items())},
            **{f"demo/Skylet/{n}": b for n, b in sorted(skylet.items())}}


def contents(build: Path, version: str) -> dict[str, bytes]:
    demo = REPO / "tools" / "windows-demo"
    return {
        "skylet.exe": (build / "skylet.exe").read_bytes(),
        "Skylet.txt": (REPO / "docs" / "Skylet.txt").read_bytes(),
        "README.txt": operator_readme(version),
        "LICENSE.txt": windows_text((REPO / "LICENSE").read_text(encoding="utf-8")),
        "CHANGES.txt": windows_text((REPO / "CHANGES.md").read_text(encoding="utf-8")),
        "demo/Demo.cmd": (demo / "Demo.cmd").read_bytes(),
        "demo/Skylet-Demo.txt": (demo / "Skylet-Demo.txt").read_bytes(),
        "demo/Avor.exe": (build / "partners" / "Avor.exe").read_bytes(),
        "demo/RotServer.exe": (build / "partners" / "RotServer.exe").read_bytes(),
        **demo_settings(),
    }


def pack(build: Path, out: Path, version: str, epoch: int) -> None:
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # zip's clock starts in 1980
    out.parent.mkdir(parents=True, exist_ok=True)
    partial = out.with_name(out.name + ".part")
    with zipfile.ZipFile(partial, "w") as z:
        for name, data in contents(build, version).items():
            entry = zipfile.ZipInfo(f"Skylet-{version}/{name}", stamp)
            entry.create_system = 0  # MS-DOS attributes: an archive file, nothing of the packing user's
            entry.external_attr = 0x20
            entry.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(entry, data, compresslevel=9)
    partial.replace(out)


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    pack(Path(sys.argv[1]), Path(sys.argv[2]), sys.argv[3], int(sys.argv[4]))
