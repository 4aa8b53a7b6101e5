"""The machinery around an end-to-end scenario: a private X display, a Wine
prefix, Skylet as a process, and skydrive.exe to look at and press its windows.

Every wait here polls with a sleep and has a time-out; every process started
here is ended by its PID (and the Wine prefix with `wineserver -k`).
"""

from __future__ import annotations

import os
import re
import select
import shutil
import signal
import subprocess
import tempfile
import termios
import threading
import time
from dataclasses import dataclass
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
BUILD = REPO / "build" / "win64"
# Overridable, so a run against another build keeps its pictures apart.
SHOTS = Path(os.environ.get("E2E_SHOTS_DIR", REPO / "build" / "e2e-shots"))

# Overridable so the harness itself can be tried against a stand-in program.
SKYLET_EXE = Path(os.environ.get("SKYLET_EXE", BUILD / "skylet.exe"))
SKYDRIVE_EXE = Path(os.environ.get("SKYDRIVE_EXE", BUILD / "skydrive.exe"))
PARTNERS = Path(os.environ.get("PARTNERS_DIR", BUILD / "partners"))

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"

MAIN_CAPTION = "Skylet  V. 12.8a"

TWIPS_PER_INCH = 1440


def twips_to_pixels(twips: float, dpi: int) -> float:
    return twips * dpi / TWIPS_PER_INCH


def wait_until(condition, seconds: float, interval: float = 0.1) -> bool:
    deadline = time.monotonic() + seconds
    while True:
        if condition():
            return True
        if time.monotonic() >= deadline:
            return False
        time.sleep(interval)


def stop_process(proc: subprocess.Popen, grace: float = 3.0) -> None:
    """SIGTERM, then SIGKILL after the grace time; to this PID only."""
    if proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait(timeout=10)


class Xvfb:
    """A display of our own, so tests never draw on a developer's screen.

    Xvfb picks a free display number itself (-displayfd) and writes it to a
    pipe once it accepts connections, which is also our sign that it is ready.
    """

    def __init__(self, log: Path, size: str = "1280x1024x24", seconds: float = 20.0):
        read_end, write_end = os.pipe()
        log.parent.mkdir(parents=True, exist_ok=True)
        self._log = open(log, "wb")
        try:
            self.proc = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", size,
                 "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=self._log,
                stderr=subprocess.STDOUT, start_new_session=True)
        finally:
            os.close(write_end)
        try:
            self.display = ":" + self._read_display_number(read_end, seconds)
        except Exception:
            self.stop()
            raise
        finally:
            os.close(read_end)

    def _read_display_number(self, fd: int, seconds: float) -> str:
        deadline = time.monotonic() + seconds
        data = b""
        while not data.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([fd], [], [], left)[0]:
                raise RuntimeError(f"Xvfb did not report a display within {seconds} s")
            chunk = os.read(fd, 64)
            if not chunk:
                raise RuntimeError("Xvfb ended before it reported a display")
            data += chunk
        return data.decode().strip()

    def stop(self) -> None:
        stop_process(self.proc)
        self._log.close()


class WinePrefix:
    """A fresh Wine prefix in a temporary folder, ended with `wineserver -k`."""

    def __init__(self, display: str, log: Path, seconds: float = 180.0):
        self.root = Path(tempfile.mkdtemp(prefix="skylet-wine-"))
        self.env = dict(os.environ)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.update({
            "WINEPREFIX": str(self.root),
            "WINEDEBUG": "-all",
            # No Mono or Gecko installer dialogs, no menu entries in $HOME.
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
            # The C locale gives the ANSI code page 1252 the settings files use.
            "LC_ALL": "C",
            "DISPLAY": display,
        })
        log.parent.mkdir(parents=True, exist_ok=True)
        with open(log, "wb") as out:
            subprocess.run([WINE, "wineboot", "-i"], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=out, stderr=subprocess.STDOUT, timeout=seconds, check=True)
            install_wine_fonts(self.root)
            # Xvfb has no window manager to draw title bars; with this Wine
            # draws them itself, so screenshots show captions. Positions and
            # sizes stay the same.
            subprocess.run([WINE, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Decorated",
                            "/d", "N", "/f"], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=out, stderr=subprocess.STDOUT, timeout=60, check=True)

    def drive_c(self, windows_path: str) -> Path:
        """C:\\Avor\\Avor.exe -> the Unix path of that file in the prefix."""
        assert windows_path[:3].upper() == "C:\\", windows_path
        return self.root / "drive_c" / windows_path[3:].replace("\\", "/")

    def end_all_programs(self) -> None:
        """Ends every program of the prefix, also those Skylet started itself
        (Avor, the servers), so the next test begins with none running."""
        subprocess.run([WINESERVER, "-k"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        subprocess.run([WINESERVER, "-w"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def stop(self) -> None:
        try:
            self.end_all_programs()
        finally:
            shutil.rmtree(self.root, ignore_errors=True)


# Debian's Wine does not look for its own fonts (package fonts-wine) where
# they are installed, only in the prefix's Fonts folder; without them every
# face falls back to DejaVu Sans and captions measured for MS Sans Serif are
# cut off.
WINE_FONTS = Path("/usr/share/wine/fonts")


def install_wine_fonts(prefix: Path) -> None:
    fonts = prefix / "drive_c" / "windows" / "Fonts"
    fonts.mkdir(parents=True, exist_ok=True)
    for font in sorted(WINE_FONTS.glob("*")) if WINE_FONTS.is_dir() else []:
        if font.suffix.lower() in (".ttf", ".fon") and not (fonts / font.name).exists():
            shutil.copyfile(font, fonts / font.name)


@dataclass
class Control:
    id: int
    cls: str
    text: str
    visible: bool
    enabled: bool
    name: str = ""  # the documented name Skylet gives the control, if any
    value: int = 0  # selected list row (-1 none), button check, spin value


@dataclass
class Placed:
    """A control's place in its window's client area, in pixels."""
    name: str
    left: int
    top: int
    width: int
    height: int


@dataclass
class WindowRect:
    left: int
    top: int
    right: int
    bottom: int
    client_width: int
    client_height: int
    dpi: int
    visible: bool = True
    enabled: bool = True  # False while a modal dialog of the program is up


@dataclass
class MessageBox:
    caption: str
    lines: list[str]

    def __str__(self) -> str:
        return f"[{self.caption}] " + " | ".join(self.lines)


def _unescape(field: str) -> str:
    """skydrive escapes \\, tab, CR and LF so every line of output is one record."""
    out, i = [], 0
    while i < len(field):
        if field[i] == "\\" and i + 1 < len(field):
            out.append({"\\": "\\", "t": "\t", "r": "\r", "n": "\n"}.get(field[i + 1], field[i + 1]))
            i += 2
        else:
            out.append(field[i])
            i += 1
    return "".join(out)


@dataclass
class DriveResult:
    code: int
    records: list[list[str]]
    stderr: str


class Skydrive:
    """Runs skydrive.exe in the prefix and turns its lines into values."""

    # Wine needs a moment to start each command on top of the command's own wait.
    STARTUP_ALLOWANCE = 30.0

    def __init__(self, prefix: WinePrefix):
        self.prefix = prefix

    def run(self, *args: str, seconds: float = 0.0) -> DriveResult:
        # Output goes through files, not pipes: the first Wine program after
        # the prefix's programs were ended starts Wine's own background
        # programs, which inherit its handles and would hold a pipe open
        # (and the reader waiting) long after skydrive has finished.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            done = subprocess.run([WINE, str(SKYDRIVE_EXE), *args], env=self.prefix.env,
                                  stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                  timeout=seconds + self.STARTUP_ALLOWANCE)
            out.seek(0)
            err.seek(0)
            stdout, stderr = out.read(), err.read()
        if done.returncode == 2:
            raise ValueError(f"skydrive usage error for {args}: {stderr.decode(errors='replace')}")
        lines = stdout.decode("utf-8").splitlines()
        return DriveResult(done.returncode, [[_unescape(f) for f in line.split("\t")] for line in lines],
                           stderr.decode("utf-8", errors="replace"))

    def wait_window(self, caption: str, seconds: float) -> bool:
        return self.run("wait-window", caption, str(seconds), seconds=seconds).code == 0

    def texts(self, caption: str) -> list[Control] | None:
        result = self.run("texts", caption)
        if result.code != 0:
            return None
        return [Control(int(r[0]), r[1], r[2], r[3] == "1", r[4] == "1", r[5] if len(r) > 5 else "",
                        int(r[6]) if len(r) > 6 else 0)
                for r in result.records]

    def named_texts(self, caption: str) -> dict[str, str] | None:
        """{control name: text} of the window's named controls."""
        controls = self.texts(caption)
        if controls is None:
            return None
        return {c.name: c.text for c in controls if c.name}

    def layout(self, caption: str) -> dict[str, Placed] | None:
        result = self.run("layout", caption)
        if result.code != 0:
            return None
        return {r[0]: Placed(r[0], *(int(v) for v in r[1:5])) for r in result.records}

    def focus(self, caption: str) -> tuple[str, bool] | None:
        """(name of the control with the keyboard focus, whether the window
        is the active one), or None when no control has it."""
        result = self.run("focus", caption)
        if result.code != 0 or not result.records:
            return None
        return result.records[0][2], result.records[0][3] == "1"

    def menu(self, caption: str, entry: str) -> bool:
        """Chooses a menu bar entry by its caption, e.g. "&Quit"."""
        return self.run("menu", caption, entry).code == 0

    def rect(self, caption: str) -> WindowRect | None:
        result = self.run("rect", caption)
        if result.code != 0:
            return None
        values = {r[0]: [int(v) for v in r[1:]] for r in result.records}
        state = values.get("state", [1, 1])
        return WindowRect(*values["window"], *values["client"], values["dpi"][0], state[0] == 1,
                          state[1] == 1)

    def _message_box(self, command: str, seconds: float) -> tuple[int, MessageBox | None]:
        result = self.run(command, str(seconds), seconds=seconds)
        if not result.records:
            return result.code, None
        return result.code, MessageBox(result.records[0][0], [r[0] for r in result.records[1:]])

    def msgbox(self, seconds: float) -> MessageBox | None:
        """Waits for a message box, reads it and presses OK. None if none came."""
        code, box = self._message_box("msgbox", seconds)
        if box is not None and code != 0:
            raise AssertionError(f"message box {box} could not be answered")
        return box

    def see_msgbox(self, seconds: float) -> MessageBox | None:
        """Waits for a message box and reads it, leaving it open."""
        return self._message_box("see-msgbox", seconds)[1]

    def no_msgbox(self, seconds: float) -> MessageBox | None:
        """Watches for the time given; returns the box that appeared, if one did."""
        return self._message_box("no-msgbox", seconds)[1]

    def close(self, caption: str) -> bool:
        return self.run("close", caption).code == 0

    def click(self, caption: str, control: int | str, row: int | None = None) -> bool:
        """Clicks a control given by its id or its name (a list box in `row`)."""
        extra = ("--row", str(row)) if row is not None else ()
        return self.run("click", caption, str(control), *extra).code == 0

    def settext(self, caption: str, control: int | str, text: str) -> bool:
        """Puts `text` into a box as a paste would."""
        return self.run("settext", caption, str(control), text).code == 0

    def windows(self) -> str:
        """All top-level windows, for the message of a failed assertion."""
        result = self.run("windows")
        return "\n".join("  " + " | ".join(r) for r in result.records)


class SkyletProcess:
    """skylet.exe under Wine. The Popen PID is the Windows process itself
    (Wine's loader execs into it), so ending it by PID ends the program."""

    def __init__(self, prefix: WinePrefix, drive: Skydrive, log: Path):
        self.prefix, self.drive, self.log = prefix, drive, log
        self.proc: subprocess.Popen | None = None

    def start(self, locale: str | None = None) -> None:
        """`locale`, e.g. "de_DE.UTF-8", is the Windows user locale Skylet runs with."""
        assert self.proc is None, "Skylet is already running"
        self.log.parent.mkdir(parents=True, exist_ok=True)
        env = dict(self.prefix.env, **({"LC_ALL": locale} if locale else {}))
        with open(self.log, "wb") as out:
            self.proc = subprocess.Popen([WINE, str(SKYLET_EXE)], cwd=SKYLET_EXE.parent,
                                         env=env, stdin=subprocess.DEVNULL,
                                         stdout=out, stderr=subprocess.STDOUT,
                                         start_new_session=True)

    def running(self) -> bool:
        return self.proc is not None and self.proc.poll() is None

    def wait_exit(self, seconds: float) -> bool:
        return wait_until(lambda: not self.running(), seconds)

    def stop(self, grace: float = 3.0) -> None:
        """Asks the main window to close like a user would, then ends the PID."""
        if not self.running():
            return
        try:
            self.drive.close(MAIN_CAPTION)
            self.wait_exit(grace)
        finally:
            if self.proc is not None:
                stop_process(self.proc, grace=1.0)


# Where the substitute partner programs lie in the prefix, as an operator's
# settings files would name them. The CAT server is a copy of the rotor
# server under its own name.
PARTNER_FILES = {
    "C:\\Avor\\Avor.exe": "Avor.exe",
    "C:\\Vantrak\\RotServer.exe": "RotServer.exe",
    "C:\\Vantrak\\CatServer.exe": "RotServer.exe",
    "C:\\Ars\\Arswin.exe": "Arswin.exe",
}


def install_partners(prefix: WinePrefix, extra: dict[str, str] | None = None) -> None:
    """Copies the substitutes into the prefix (also under further names:
    {windows path: built program}) and removes their logs and refuse marks
    from earlier tests."""
    for windows_path, program in {**PARTNER_FILES, **(extra or {})}.items():
        source = PARTNERS / program
        if not source.is_file():
            raise FileNotFoundError(f"{source} has not been built (cmake --build --preset win64)")
        target = prefix.drive_c(windows_path)
        target.parent.mkdir(parents=True, exist_ok=True)
        for old in target.parent.glob("*.log"):
            old.unlink()
        for old in target.parent.glob("*.refuse"):
            old.unlink()
        shutil.copyfile(source, target)


def partner_log(path: Path) -> list[str]:
    """A partner's log as its events, each line checked for its time stamp and
    cut from it ("execute RotServConv ClientOn"). No file: no events."""
    if not path.exists():
        return []
    lines = path.read_bytes().decode("cp1252").split("\r\n")
    assert lines[-1] == "", f"{path} does not end with CR LF"
    for line in lines[:-1]:
        assert re.match(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} ", line), f"no time stamp in {line!r}"
    return [line[24:] for line in lines[:-1]]


class PartnerProcess:
    """A substitute started by the test itself (not by Skylet) under Wine."""

    def __init__(self, prefix: WinePrefix, windows_path: str, args: list[str], log: Path):
        log.parent.mkdir(parents=True, exist_ok=True)
        self._out = open(log, "wb")
        exe = prefix.drive_c(windows_path)
        self.proc = subprocess.Popen([WINE, str(exe), *args], cwd=exe.parent, env=prefix.env,
                                     stdin=subprocess.DEVNULL, stdout=self._out,
                                     stderr=subprocess.STDOUT, start_new_session=True)

    def stop(self) -> None:
        stop_process(self.proc)
        self._out.close()


def screenshot(display: str, path: Path) -> Path:
    path.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["import", "-display", display, "-window", "root", str(path)],
                   stdin=subprocess.DEVNULL, capture_output=True, timeout=30, check=True)
    return path


def install_termination_handler() -> None:
    """Turns SIGTERM (say from `timeout`) into KeyboardInterrupt, so pytest
    still runs the fixtures' finalizers and stops what they started."""
    def interrupt(signum, frame):
        raise KeyboardInterrupt(f"signal {signum}")
    signal.signal(signal.SIGTERM, interrupt)


class SerialLine:
    """A COM port of the prefix backed by a pty pair: Skylet writes to COMn,
    the test reads what crossed the line (with arrival times) on the far end."""

    def __init__(self, prefix: WinePrefix, port: int, log: Path, seconds: float = 10.0):
        self.folder = Path(tempfile.mkdtemp(prefix="skylet-com-"))
        near, self.far = self.folder / "near", self.folder / "far"
        log.parent.mkdir(parents=True, exist_ok=True)
        self._log = open(log, "wb")
        self.proc = subprocess.Popen(
            ["socat", f"pty,raw,echo=0,link={near}", f"pty,raw,echo=0,link={self.far}"],
            stdin=subprocess.DEVNULL, stdout=self._log, stderr=subprocess.STDOUT,
            start_new_session=True)
        if not wait_until(lambda: near.exists() and self.far.exists(), seconds):
            self.stop()
            raise RuntimeError("socat did not make its pty pair")
        self.device = prefix.root / "dosdevices" / f"com{port}"
        if self.device.is_symlink() or self.device.exists():
            self.device.unlink()
        self.device.symlink_to(near)
        self.near = near
        self._fd = os.open(self.far, os.O_RDWR | os.O_NONBLOCK | os.O_NOCTTY)
        self.received: list[tuple[float, bytes]] = []
        # Set to a CI-V address, the far end answers like an Icom radio on the
        # bus: the echo of each frame, then FB from that address.
        self.civ_address: int | None = None
        self._civ = b""
        # Read from the start, so each byte's arrival time is when it crossed
        # the line, not when the test got round to looking.
        self._stop = threading.Event()
        self._reader = threading.Thread(target=self._collect, daemon=True)
        self._reader.start()

    def _collect(self) -> None:
        while not self._stop.is_set():
            if not select.select([self._fd], [], [], 0.05)[0]:
                continue
            try:
                chunk = os.read(self._fd, 4096)
            except (BlockingIOError, OSError):
                continue
            if chunk:
                self.received.append((time.monotonic(), chunk))
                if self.civ_address is not None:
                    self._answer_civ(chunk)

    def _answer_civ(self, chunk: bytes) -> None:
        self._civ += chunk
        while (end := self._civ.find(b"\xfd")) >= 0:
            frame, self._civ = self._civ[:end + 1], self._civ[end + 1:]
            if frame.startswith(b"\xfe\xfe"):
                os.write(self._fd, frame + bytes([0xFE, 0xFE, 0xE0, self.civ_address, 0xFB, 0xFD]))

    def settings(self) -> str:
        """The line's settings as Skylet gave them, "9600,N,8,1", read from
        the pty's terminal settings."""
        fd = os.open(self.near, os.O_RDONLY | os.O_NONBLOCK | os.O_NOCTTY)
        try:
            _, _, cflag, _, ispeed, _, _ = termios.tcgetattr(fd)
        finally:
            os.close(fd)
        bauds = {getattr(termios, f"B{b}"): b for b in (1200, 2400, 4800, 9600, 19200, 38400, 57600)}
        bits = {termios.CS5: 5, termios.CS6: 6, termios.CS7: 7, termios.CS8: 8}[cflag & termios.CSIZE]
        parity = "N" if not cflag & termios.PARENB else "O" if cflag & termios.PARODD else "E"
        stop = 2 if cflag & termios.CSTOPB else 1
        return f"{bauds.get(ispeed, ispeed)},{parity},{bits},{stop}"

    def data(self) -> bytes:
        return b"".join(b for _, b in list(self.received))

    def read(self, seconds: float, until_bytes: int = 0) -> bytes:
        """What has crossed the line, after waiting up to `seconds` (or until
        `until_bytes` have arrived in all)."""
        wait_until(lambda: bool(until_bytes) and len(self.data()) >= until_bytes, seconds, 0.05)
        return self.data()

    def stop(self) -> None:
        if getattr(self, "_reader", None) is not None:
            self._stop.set()
            self._reader.join(timeout=5)
            self._reader = None
        if getattr(self, "_fd", None) is not None:
            os.close(self._fd)
            self._fd = None
        if getattr(self, "device", None) is not None and self.device.is_symlink():
            self.device.unlink()
        stop_process(self.proc)
        self._log.close()
        shutil.rmtree(self.folder, ignore_errors=True)
