"""Settings files an operator's station would have, and how they get into a Wine prefix.

%APPDATA%\\Vantrak\\ and %APPDATA%\\Skylet\\ hold Windows-1252 text with CR LF, kept as the bytes on disk."""

from __future__ import annotations

import shutil
from dataclasses import dataclass, field
from pathlib import Path


def sat_ini(cat_port: int = 0, cat_delay_ms: int = 50, rot_type: int = -1) -> bytes:
    numbers = "".join(f"{n: d}\r\n" for n in (cat_port, cat_delay_ms, rot_type))
    return (b"Station\r\nJN58\r\n48.1\r\n11.6\r\n" + numbers.encode()
            + b" 0\r\nN\r\n 0\r\n 0\r\n 0\r\nx\r\nx\r\n")


def start_options(rotor="-", cat="-", park="-", dde_rotor="-", dde_cat="-") -> bytes:
    """SkyletStart.SQF: tracking, CAT and park on at start, rotor and CAT server links."""
    return "\r\n".join([rotor, cat, park, dde_rotor, dde_cat, ""]).encode()


VANTRAK_DEFAULT: dict[str, bytes] = {
    "TRX.SQF": b"Kenwood\r\n", "SatIni.SQF": sat_ini(), "ParPort.SQF": b"; LPT-Adressen\r\n$378\r\n$278\r\n",
    "YaesuPar.SQF": b"H01\r\nH11\r\n4800\r\nFT-847\r\n", "KenwoodPar.SQF": b"TS-2000\r\n9600\r\n0000000\r\n",
    "IcomPar.SQF": b"9600\r\nH60\r\nH60\r\nH5E\r\nH5E\r\n", "IcomName.SQF": b"IC-910H\r\n",
    "StandPos.SQF": b"; Standardrichtungen\r\nNord,0\r\nOst,90\r\nS\xfcd,180\r\nWest,270\r\n",
    # Program paths without ".exe": the name after the last backslash is the DDE application.
    "RotorServer.SQF": b"C:\\Vantrak\\RotServer\r\n", "CatServer.SQF": b"C:\\Vantrak\\CatServer\r\n",
    "Transvrt.SQF": b" 0, 0\r\n 2256000, 0\r\n",
}
SKYLET_DEFAULT: dict[str, bytes] = {
    "AvorPath.SQF": b"C:\\Avor\\Avor.exe --log C:\\Avor\\Avor.log\r\n", "SkyletPos.SQF": b" 1200\r\n 1500\r\n",
    "DDEIntVCat.SQF": b" 100\r\n", "DDEParkPos.SQF": b" 180\r\n 0\r\n 5\r\n",
    "SkyletStart.SQF": start_options(rotor="+"), "DDERotOpt.SQF": b"w\r\n 10\r\n 5\r\nk\r\n",
}


@dataclass(frozen=True)
class Profile:
    """Both settings folders, the default station's unless given; replace() leaves out a file given None."""
    vantrak: dict[str, bytes] = field(default_factory=lambda: dict(VANTRAK_DEFAULT))
    skylet: dict[str, bytes] = field(default_factory=lambda: dict(SKYLET_DEFAULT))

    def replace(self, vantrak: dict[str, bytes | None] | None = None,
                skylet: dict[str, bytes | None] | None = None) -> Profile:
        def merged(old: dict, new: dict | None) -> dict:
            return {k: v for k, v in {**old, **(new or {})}.items() if v is not None}
        return Profile(merged(self.vantrak, vantrak), merged(self.skylet, skylet))


def station(start: bytes = start_options(rotor="+"), vantrak: dict | None = None, skylet: dict | None = None) -> Profile:
    """The default station with Avor answering from its script (the profile fixture's)."""
    avor = b"C:\\Avor\\Avor.exe --script C:\\Avor\\pass.txt --log C:\\Avor\\Avor.log\r\n"
    return Profile().replace(vantrak, {"AvorPath.SQF": avor, "SkyletStart.SQF": start, **(skylet or {})})


def ts2000(cat_port: int = 3, cat_delay_ms: int = 20, **sat) -> dict[str, bytes]:
    return {"SatIni.SQF": sat_ini(cat_port, cat_delay_ms, **sat), "KenwoodPar.SQF": b"TS-2000\r\n9600\r\n0\r\n"}


def data_dir(prefix: Path, name: str) -> Path:
    """%APPDATA%\\<name> in the profile folder wineboot made, named after a Unix user $USER may not tell."""
    users = [p for p in (Path(prefix) / "drive_c" / "users").iterdir() if p.is_dir() and p.name != "Public"]
    if len(users) != 1:
        raise RuntimeError(f"expected one user folder in the Wine prefix {prefix}, found {[p.name for p in users]}")
    return users[0] / "AppData" / "Roaming" / name


def write_profile(prefix: Path, profile: Profile) -> None:
    """Empties both folders first."""
    for which, files in (("Vantrak", profile.vantrak), ("Skylet", profile.skylet)):
        folder = data_dir(prefix, which)
        if folder.exists():
            shutil.rmtree(folder)
        folder.mkdir(parents=True)
        for name, content in files.items():
            (folder / name).write_bytes(content)
