"""What an end-to-end scenario runs in: a private X display, a Wine prefix, Skylet, skydrive.exe to
look at and press its windows, a pty-backed COM port. Every wait has a time-out; every process
started here is ended by its PID (the Wine prefix's with `wineserver -k`)."""

from __future__ import annotations

import os
import re
import select
import shutil
import subprocess
import tempfile
import termios
import threading
import time
from collections import namedtuple
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
BUILD = REPO / "build" / "win64"
# Overridable: another build's pictures stay apart, the harness can run other programs.
SHOTS = Path(os.environ.get("E2E_SHOTS_DIR", REPO / "build" / "e2e-shots"))
SKYLET_EXE = Path(os.environ.get("SKYLET_EXE", BUILD / "skylet.exe"))
SKYDRIVE_EXE = Path(os.environ.get("SKYDRIVE_EXE", BUILD / "skydrive.exe"))
PARTNERS = Path(os.environ.get("PARTNERS_DIR", BUILD / "partners"))
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
# Debian's Wine looks for its own fonts only in the prefix; without them captions
# measured for MS Sans Serif are cut off.
WINE_FONTS = Path("/usr/share/wine/fonts")

MAIN_CAPTION = "Skylet  V. 12.8a"
WINDOW_SECONDS = 30
BOXES = ("edSat", "edAZ", "edEL", "edRX", "edTX", "edDM", "edUM", "edMA")

Control = namedtuple("Control", "id cls text visible enabled name value")
Placed = namedtuple("Placed", "name left top width height")  # in the window's client area, px
WindowRect = namedtuple("WindowRect", "left top right bottom client_width client_height dpi visible enabled")
MessageBox = namedtuple("MessageBox", "caption lines")
DriveResult = namedtuple("DriveResult", "code records stderr")


def twips_to_pixels(twips: float, dpi: int) -> float:
    return twips * dpi / 1440


def wait_until(condition, seconds: float, interval: float = 0.1) -> bool:
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() >= deadline:
            return False
        time.sleep(interval)
    return True


def stop_process(proc: subprocess.Popen, grace: float = 3.0) -> None:
    """SIGTERM, then SIGKILL after the grace time; to this PID only."""
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait(timeout=10)


def background(args: list[str], log, **options) -> subprocess.Popen:
    return subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                            start_new_session=True, **options)


class Xvfb:
    """A display of our own; Xvfb picks a free number and reports it once it takes clients."""

    def __init__(self, log: Path, seconds: float = 20.0):
        read_end, write_end = os.pipe()
        log.parent.mkdir(parents=True, exist_ok=True)
        self._log = open(log, "wb")
        self.proc = background(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                                "-nolisten", "tcp", "-noreset"], self._log, pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end, "rb") as pipe:
            number = pipe.readline().strip() if select.select([pipe], [], [], seconds)[0] else b""
        if not number:
            self.stop()
            raise RuntimeError(f"Xvfb reported no display within {seconds} s")
        self.display = ":" + number.decode()

    def stop(self) -> None:
        stop_process(self.proc)
        self._log.close()


class WinePrefix:
    """A fresh Wine prefix in a temporary folder, ended with `wineserver -k`."""

    def __init__(self, display: str, log: Path, seconds: float = 180.0):
        self.root = Path(tempfile.mkdtemp(prefix="skylet-wine-"))
        self.env = {k: v for k, v in os.environ.items() if k != "WAYLAND_DISPLAY"}
        # No Mono or Gecko installers, no menu entries in $HOME; the C locale gives the
        # ANSI code page 1252 the settings files use.
        self.env.update(WINEPREFIX=str(self.root), WINEDEBUG="-all", LC_ALL="C", DISPLAY=display,
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        fonts = self.root / "drive_c" / "windows" / "Fonts"
        with open(log, "wb") as out:
            subprocess.run([WINE, "wineboot", "-i"], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=out, stderr=subprocess.STDOUT, timeout=seconds, check=True)
            for font in WINE_FONTS.glob("*.[tf][to][fn]"):
                shutil.copyfile(font, fonts / font.name)
            # Without a window manager Wine draws the title bars itself, so shots show captions.
            subprocess.run([WINE, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Decorated",
                            "/d", "N", "/f"], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=out, stderr=subprocess.STDOUT, timeout=60, check=True)

    def drive_c(self, windows_path: str) -> Path:
        """C:\\Avor\\Avor.exe -> the Unix path of that file in the prefix."""
        assert windows_path[:3].upper() == "C:\\", windows_path
        return self.root / "drive_c" / windows_path[3:].replace("\\", "/")

    def end_all_programs(self) -> None:
        """Also those Skylet started itself (Avor, the servers)."""
        for option in ("-k", "-w"):
            subprocess.run([WINESERVER, option], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def stop(self) -> None:
        try:
            self.end_all_programs()
        finally:
            shutil.rmtree(self.root, ignore_errors=True)


def _unescape(field: str) -> str:
    """skydrive escapes \\, tab, CR and LF so every line of its output is one record."""
    return re.sub(r"\\(.)", lambda m: {"t": "\t", "r": "\r", "n": "\n"}.get(m[1], m[1]), field)


class Skydrive:
    """Runs skydrive.exe in the prefix and turns its lines into values."""

    STARTUP_ALLOWANCE = 30.0  # for Wine to start each command, on top of its own wait

    def __init__(self, prefix: WinePrefix):
        self.prefix = prefix

    def run(self, *args: str, seconds: float = 0.0) -> DriveResult:
        # Files, not pipes: Wine's background programs, started with the first command
        # after the prefix's programs ended, inherit the handles and would hold a pipe open.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            code = subprocess.run([WINE, str(SKYDRIVE_EXE), *args], env=self.prefix.env,
                                  stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                  timeout=seconds + self.STARTUP_ALLOWANCE).returncode
            out.seek(0)
            err.seek(0)
            stdout, stderr = out.read().decode("utf-8"), err.read().decode("utf-8", errors="replace")
        if code == 2:
            raise ValueError(f"skydrive usage error for {args}: {stderr}")
        return DriveResult(code, [[_unescape(f) for f in line.split("\t")] for line in stdout.splitlines()],
                           stderr)

    def _records(self, *args: str) -> list[list[str]] | None:
        return result.records if (result := self.run(*args)).code == 0 else None

    def wait_window(self, caption: str, seconds: float) -> bool:
        return self.run("wait-window", caption, str(seconds), seconds=seconds).code == 0

    def texts(self, caption: str) -> list[Control] | None:
        records = self._records("texts", caption)
        return None if records is None else [
            Control(int(r[0]), r[1], r[2], r[3] == "1", r[4] == "1", r[5], int(r[6]))
            for r in records]

    def named_texts(self, caption: str) -> dict[str, str] | None:
        controls = self.texts(caption)
        return None if controls is None else {c.name: c.text for c in controls if c.name}

    def layout(self, caption: str) -> dict[str, Placed] | None:
        records = self._records("layout", caption)
        return None if records is None else {r[0]: Placed(r[0], *map(int, r[1:5])) for r in records}

    def focus(self, caption: str) -> tuple[str, bool] | None:
        """(name of the control with the keys, whether the window is the active one)."""
        records = self._records("focus", caption)
        return (records[0][2], records[0][3] == "1") if records else None

    def menu(self, caption: str, entry: str) -> bool:  # entry e.g. "&Quit"
        return self.run("menu", caption, entry).code == 0

    def rect(self, caption: str) -> WindowRect | None:
        records = self._records("rect", caption)
        if records is None:
            return None
        values = {r[0]: [int(v) for v in r[1:]] for r in records}
        state = values.get("state", [1, 1])
        return WindowRect(*values["window"], *values["client"], values["dpi"][0], state[0] == 1,
                          state[1] == 1)

    def _message_box(self, command: str, seconds: float) -> tuple[int, MessageBox | None]:
        code, records, _ = self.run(command, str(seconds), seconds=seconds)
        return code, MessageBox(records[0][0], [r[0] for r in records[1:]]) if records else None

    def msgbox(self, seconds: float) -> MessageBox | None:
        """Waits for a message box, reads it and presses OK. None if none came."""
        code, box = self._message_box("msgbox", seconds)
        assert box is None or code == 0, f"message box {box} could not be answered"
        return box

    def see_msgbox(self, seconds: float) -> MessageBox | None:  # read, left open
        return self._message_box("see-msgbox", seconds)[1]

    def no_msgbox(self, seconds: float) -> MessageBox | None:  # the box that came within the time
        return self._message_box("no-msgbox", seconds)[1]

    def close(self, caption: str) -> bool:
        return self.run("close", caption).code == 0

    def click(self, caption: str, control: int | str, row: int | None = None) -> bool:  # id or name
        row_option = ("--row", str(row)) if row is not None else ()
        return self.run("click", caption, str(control), *row_option).code == 0

    def key(self, caption: str, control: str, virtual_key: int) -> bool:
        return self.run("key", caption, control, str(virtual_key)).code == 0

    def settext(self, caption: str, control: int | str, text: str) -> bool:  # as a paste would
        return self.run("settext", caption, str(control), text).code == 0

    def windows(self) -> str:  # all top-level windows, for a failure's message
        return "\n".join("  " + " | ".join(r) for r in self.run("windows").records)


class SkyletProcess:
    """skylet.exe under Wine; the Popen PID is the Windows process itself."""

    def __init__(self, prefix: WinePrefix, drive: Skydrive, log: Path):
        self.prefix, self.drive, self.log = prefix, drive, log
        self.proc: subprocess.Popen | None = None

    def start(self, locale: str | None = None) -> None:  # the Windows user locale, "de_DE.UTF-8"
        assert self.proc is None, "Skylet is already running"
        env = dict(self.prefix.env, **({"LC_ALL": locale} if locale else {}))
        with open(self.log, "wb") as out:
            self.proc = background([WINE, str(SKYLET_EXE)], out, cwd=SKYLET_EXE.parent, env=env)

    def running(self) -> bool:
        return self.proc is not None and self.proc.poll() is None

    def wait_exit(self, seconds: float) -> bool:
        return wait_until(lambda: not self.running(), seconds)

    def stop(self, grace: float = 3.0) -> None:
        """Asks the main window to close like a user would, then ends the PID."""
        if self.running():
            try:
                self.drive.close(MAIN_CAPTION)
                self.wait_exit(grace)
            finally:
                stop_process(self.proc, grace=1.0)


# Where an operator's settings files name the partner programs; the CAT server is a
# copy of the rotor server under its own name.
PARTNER_FILES = {"C:\\Avor\\Avor.exe": "Avor.exe", "C:\\Vantrak\\RotServer.exe": "RotServer.exe",
                 "C:\\Vantrak\\CatServer.exe": "RotServer.exe", "C:\\Ars\\Arswin.exe": "Arswin.exe"}


def install_partners(prefix: WinePrefix, extra: dict[str, str] | None = None) -> None:
    """Copies the substitutes into the prefix (also under further names: {windows path:
    built program}), removing logs and refuse marks of earlier tests."""
    for windows_path, program in {**PARTNER_FILES, **(extra or {})}.items():
        if not (PARTNERS / program).is_file():
            raise FileNotFoundError(f"{PARTNERS / program} has not been built (cmake --build --preset win64)")
        target = prefix.drive_c(windows_path)
        target.parent.mkdir(parents=True, exist_ok=True)
        for old in [*target.parent.glob("*.log"), *target.parent.glob("*.refuse")]:
            old.unlink()
        shutil.copyfile(PARTNERS / program, target)


def partner_log(path: Path) -> list[str]:
    """A partner's log as its events cut from their time stamps ("execute RotServConv
    ClientOn"); no file, no events."""
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
        self._out = open(log, "wb")
        exe = prefix.drive_c(windows_path)
        self.proc = background([WINE, str(exe), *args], self._out, cwd=exe.parent, env=prefix.env)

    def stop(self) -> None:
        stop_process(self.proc)
        self._out.close()


class SerialLine:
    """COMn of the prefix backed by a pty pair: the test reads on the far end what Skylet
    wrote, with arrival times, and may answer like an Icom radio on the bus."""

    def __init__(self, prefix: WinePrefix, port: int, log: Path, seconds: float = 10.0):
        self.folder = Path(tempfile.mkdtemp(prefix="skylet-com-"))
        self.near, self.far = self.folder / "near", self.folder / "far"
        self._log = open(log, "wb")
        self.proc = background(["socat", f"pty,raw,echo=0,link={self.near}",
                                f"pty,raw,echo=0,link={self.far}"], self._log)
        self.device = self._fd = self._reader = None
        if not wait_until(lambda: self.near.exists() and self.far.exists(), seconds):
            self.stop()
            raise RuntimeError("socat did not make its pty pair")
        self.device = prefix.root / "dosdevices" / f"com{port}"
        if self.device.is_symlink() or self.device.exists():
            self.device.unlink()
        self.device.symlink_to(self.near)
        self._fd = os.open(self.far, os.O_RDWR | os.O_NONBLOCK | os.O_NOCTTY)
        self.received: list[tuple[float, bytes]] = []
        # A CI-V address: the far end answers each frame with its echo and FB from there.
        self.civ_address: int | None = None
        self._civ = b""
        # Read from the start, so each byte's time is when it crossed the line.
        self._stop = threading.Event()
        self._reader = threading.Thread(target=self._collect, daemon=True)
        self._reader.start()

    def _collect(self) -> None:
        while not self._stop.is_set():
            try:
                chunk = os.read(self._fd, 4096) if select.select([self._fd], [], [], 0.05)[0] else b""
            except OSError:
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
        """The line's settings as Skylet gave them, "9600,N,8,1"."""
        fd = os.open(self.near, os.O_RDONLY | os.O_NONBLOCK | os.O_NOCTTY)
        try:
            _, _, cflag, _, ispeed, _, _ = termios.tcgetattr(fd)
        finally:
            os.close(fd)
        bauds = {getattr(termios, f"B{b}"): b for b in (1200, 2400, 4800, 9600, 19200, 38400, 57600)}
        bits = {termios.CS5: 5, termios.CS6: 6, termios.CS7: 7, termios.CS8: 8}[cflag & termios.CSIZE]
        parity = "N" if not cflag & termios.PARENB else "O" if cflag & termios.PARODD else "E"
        return f"{bauds.get(ispeed, ispeed)},{parity},{bits},{2 if cflag & termios.CSTOPB else 1}"

    def data(self) -> bytes:
        return b"".join(b for _, b in list(self.received))

    def read(self, seconds: float, until_bytes: int = 0) -> bytes:
        """What has crossed the line after up to `seconds` (or once `until_bytes` have)."""
        wait_until(lambda: bool(until_bytes) and len(self.data()) >= until_bytes, seconds, 0.05)
        return self.data()

    def stop(self) -> None:
        if self._reader is not None:
            self._stop.set()
            self._reader.join(timeout=5)
        if self._fd is not None:
            os.close(self._fd)
        if self.device is not None and self.device.is_symlink():
            self.device.unlink()
        stop_process(self.proc)
        self._log.close()
        shutil.rmtree(self.folder, ignore_errors=True)


# --- what the scenarios share ------------------------------------------------------

def write_script(prefix: WinePrefix, records: list[bytes]) -> None:
    """The tracking substitute's script (profiles.avor_path): a record a line, each
    answered once in turn, the last one from then on."""
    path = prefix.drive_c("C:\\Avor\\pass.txt")
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(b"".join(r + b"\r\n" for r in records))


def shown(sat, az, el, rx, tx, dm, um, ma) -> dict[str, str]:
    return dict(zip(BOXES, (sat, az, el, rx, tx, dm, um, ma)))


def main_window_up(drive: Skydrive) -> None:
    assert drive.wait_window(MAIN_CAPTION, WINDOW_SECONDS), (
        f"no window {MAIN_CAPTION!r} within {WINDOW_SECONDS} s; top-level windows:\n{drive.windows()}")


def boxes(drive: Skydrive) -> dict[str, str]:
    """The display boxes once two readings in a row agree (a record may arrive between
    reading one box and the next)."""
    def read() -> dict[str, str]:
        texts = drive.named_texts(MAIN_CAPTION)
        assert texts is not None, "the main window went away"
        return {name: texts[name] for name in BOXES}
    last = read()
    for _ in range(5):
        if (now := read()) == last:
            return now
        last = now
    raise AssertionError(f"the display boxes never stood still: {last}")


class Checks:
    """The named checks of one scenario: check("name", ok, detail) notes a failure and
    goes on, so one run reports every check that failed; done() asserts them all."""

    def __init__(self):
        self.failed: list[str] = []

    def __call__(self, name: str, ok: bool, detail: object = "") -> bool:
        if not ok:
            self.failed.append(f"{name}: {detail}" if detail != "" else name)
        return ok

    def done(self) -> None:
        assert not self.failed, "failed checks:\n  " + "\n  ".join(self.failed)
