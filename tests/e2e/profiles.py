"""Settings files an operator's station would have, and how they get into a Wine prefix.

Skylet reads its settings from %APPDATA%\\Vantrak\\ (shared with the other
Vantrak programs) and %APPDATA%\\Skylet\\. The files are Windows-1252 text with
CR LF line ends, so they are kept here as bytes, exactly as on disk.

Scenarios derive variants from the default:
    default_profile().without(vantrak=["TRX.SQF"])
    default_profile().replace(skylet={"SkyletPos.SQF": b" 0\\r\\n 0\\r\\n"})

Run as a program to fill a prefix with the demo's profile without touching
files that are already there:  python3 profiles.py --write-missing PREFIX
"""

from __future__ import annotations

import argparse
import shutil
import sys
from collections.abc import Iterable
from dataclasses import dataclass, field
from pathlib import Path

VANTRAK_DEFAULT: dict[str, bytes] = {
    "TRX.SQF": b"Kenwood\r\n",
    "SatIni.SQF": (b"Station\r\nJN58\r\n48.1\r\n11.6\r\n 0\r\n 50\r\n-1\r\n 0\r\nN\r\n"
                   b" 0\r\n 0\r\n 0\r\nx\r\nx\r\n"),
    "ParPort.SQF": b"; LPT-Adressen\r\n$378\r\n$278\r\n",
    "YaesuPar.SQF": b"H01\r\nH11\r\n4800\r\nFT-847\r\n",
    "KenwoodPar.SQF": b"TS-2000\r\n9600\r\n0000000\r\n",
    "IcomPar.SQF": b"9600\r\nH60\r\nH60\r\nH5E\r\nH5E\r\n",
    "IcomName.SQF": b"IC-910H\r\n",
    "StandPos.SQF": b"; Standardrichtungen\r\nNord,0\r\nOst,90\r\nS\xfcd,180\r\nWest,270\r\n",
    # Program paths without ".exe": the name after the last backslash is also
    # the server's DDE application name.
    "RotorServer.SQF": b"C:\\Vantrak\\RotServer\r\n",
    "CatServer.SQF": b"C:\\Vantrak\\CatServer\r\n",
    "Transvrt.SQF": b" 0, 0\r\n 2256000, 0\r\n",
}

SKYLET_DEFAULT: dict[str, bytes] = {
    # The tracking substitute (see partners/), logging what it is asked.
    "AvorPath.SQF": b"C:\\Avor\\Avor.exe --log C:\\Avor\\Avor.log\r\n",
    "SkyletPos.SQF": b" 1200\r\n 1500\r\n",
    "DDEIntVCat.SQF": b" 100\r\n",
    "DDEParkPos.SQF": b" 180\r\n 0\r\n 5\r\n",
    "SkyletStart.SQF": b"+\r\n-\r\n-\r\n-\r\n-\r\n",
    "DDERotOpt.SQF": b"w\r\n 10\r\n 5\r\nk\r\n",
}


@dataclass(frozen=True)
class Profile:
    """The contents of both settings folders: {file name: bytes}."""

    vantrak: dict[str, bytes] = field(default_factory=dict)
    skylet: dict[str, bytes] = field(default_factory=dict)

    def without(self, vantrak: Iterable[str] = (), skylet: Iterable[str] = ()) -> Profile:
        vantrak, skylet = set(vantrak), set(skylet)
        unknown = (vantrak - self.vantrak.keys()) | (skylet - self.skylet.keys())
        if unknown:
            raise KeyError(f"not in the profile: {sorted(unknown)}")
        return Profile({k: v for k, v in self.vantrak.items() if k not in vantrak},
                       {k: v for k, v in self.skylet.items() if k not in skylet})

    def replace(self, vantrak: dict[str, bytes] | None = None,
                skylet: dict[str, bytes] | None = None) -> Profile:
        return Profile({**self.vantrak, **(vantrak or {})}, {**self.skylet, **(skylet or {})})


def sat_ini(cat_port: int = 0, cat_delay_ms: int = 50, rot_type: int = -1) -> bytes:
    """SatIni.SQF with the serial port, the CAT wait and the rotor interface
    given; the rest as in the default profile."""
    numbers = "".join(f"{n: d}\r\n" for n in (cat_port, cat_delay_ms, rot_type))
    return (b"Station\r\nJN58\r\n48.1\r\n11.6\r\n" + numbers.encode() +
            b" 0\r\nN\r\n 0\r\n 0\r\n 0\r\nx\r\nx\r\n")


def default_profile() -> Profile:
    return Profile(dict(VANTRAK_DEFAULT), dict(SKYLET_DEFAULT))


def demo_profile() -> Profile:
    """The demo's station: the rotor through the rotor server (which Skylet
    starts, as it would start Vantrak's; a rotor interface other than 0, which
    would switch rotor output off), the radio (a TS-2000) on COM3, tracking,
    CAT and park on, Avor in its demo pass. At speed 30 the pass lasts about
    30 s and begins a few seconds after the start, so a whole pass and the
    parking after it (south, the default profile's park position) fit into
    the headless demo's screenshots."""
    return default_profile().replace(
        vantrak={"SatIni.SQF": sat_ini(cat_port=3, rot_type=1)},
        skylet={"SkyletStart.SQF": b"+\r\n+\r\n+\r\n+\r\n-\r\n",
                "AvorPath.SQF": b"C:\\Avor\\Avor.exe --pass --speed 30\r\n"})


def user_dir(prefix: Path) -> Path:
    """The profile folder wineboot made: named after the Unix user, which CI
    may not tell us in $USER, so take the one folder that is not Public."""
    users = Path(prefix) / "drive_c" / "users"
    candidates = sorted(p for p in users.iterdir() if p.is_dir() and p.name != "Public")
    if len(candidates) != 1:
        raise RuntimeError(f"expected one user folder in {users}, found {[p.name for p in candidates]}")
    return candidates[0]


def vantrak_dir(prefix: Path) -> Path:
    return user_dir(prefix) / "AppData" / "Roaming" / "Vantrak"


def skylet_dir(prefix: Path) -> Path:
    return user_dir(prefix) / "AppData" / "Roaming" / "Skylet"


def write_profile(prefix: Path, profile: Profile, only_missing: bool = False) -> list[Path]:
    """Puts the profile into the prefix and returns the files written.

    Normally both folders are emptied first, so no file of an earlier test
    survives. With only_missing, nothing is removed and no existing file is
    overwritten: an operator's own settings stay as they are.
    """
    written = []
    for folder, files in ((vantrak_dir(prefix), profile.vantrak),
                          (skylet_dir(prefix), profile.skylet)):
        if not only_missing and folder.exists():
            shutil.rmtree(folder)
        folder.mkdir(parents=True, exist_ok=True)
        for name, content in files.items():
            path = folder / name
            if only_missing and path.exists():
                continue
            path.write_bytes(content)
            written.append(path)
    return written


def main(argv: list[str]) -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--write-missing", metavar="PREFIX", type=Path, required=True,
                        help="Wine prefix to fill with the demo profile")
    args = parser.parse_args(argv)
    for path in write_profile(args.write_missing, demo_profile(), only_missing=True):
        print(f"wrote {path}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
