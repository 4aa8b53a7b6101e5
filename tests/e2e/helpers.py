"""A scenario's world: X display, Wine prefix, Skylet, skydrive.exe, a pty COM port; every wait times out."""

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
# Debian's Wine seeks its fonts only in the prefix; without them MS Sans Serif captions are cut off.
WINE_FONTS = Path("/usr/share/wine/fonts")

MAIN_CAPTION = "Skylet  V. 12.8a"
LONG_AGO = 978307200  # 2001-01-01: the profile fixture dates SkyletPos.SQF so; any rewrite shows
BOXES = ("edSat", "edAZ", "edEL", "edRX", "edTX", "edDM", "edUM", "edMA")

Control = namedtuple("Control", "id cls text visible enabled name value")
WindowRect = namedtuple("WindowRect", "left top right bottom client_width client_height dpi visible enabled")
MessageBox = namedtuple("MessageBox", "caption lines")
DriveResult = namedtuple("DriveResult", "code records stderr")


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


def background(args: list, log, **options) -> subprocess.Popen:
    return subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                            start_new_session=True, **options)


class WinePrefix:
    """A fresh Wine prefix in a temporary folder, ended with `wineserver -k`."""

    def __init__(self, display: str, log: Path, seconds: float = 180.0):
        self.root = Path(tempfile.mkdtemp(prefix="skylet-wine-"))
        self.env = {k: v for k, v in os.environ.items() if k != "WAYLAND_DISPLAY"}
        # No Mono, Gecko or menu entries; the C locale gives the settings files' code page 1252.
        self.env.update(WINEPREFIX=str(self.root), WINEDEBUG="-all", LC_ALL="C", DISPLAY=display,
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        with open(log, "wb") as out:
            wine = lambda *args, timeout: subprocess.run([WINE, *args], env=self.env, stdin=subprocess.DEVNULL,
                                                         stdout=out, stderr=subprocess.STDOUT, timeout=timeout,
                                                         check=True)
            wine("wineboot", "-i", timeout=seconds)
            for font in WINE_FONTS.glob("*.[tf][to][fn]"):
                shutil.copyfile(font, self.root / "drive_c" / "windows" / "Fonts" / font.name)
            # Without a window manager Wine draws the title bars itself, so shots show captions.
            wine("reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Decorated", "/d", "N", "/f", timeout=60)

    def drive_c(self, windows_path: str) -> Path:
        assert windows_path[:3].upper() == "C:\\", windows_path
        return self.root / "drive_c" / windows_path[3:].replace("\\", "/")

    def log(self, windows_path: str, *kinds: str) -> list[str]:
        """A partner's events without time stamps, those starting with one of the kinds if given."""
        path = self.drive_c(windows_path)
        lines = path.read_bytes().decode("cp1252").split("\r\n") if path.exists() else [""]
        assert lines[-1] == "", f"{path} does not end with CR LF"
        for line in lines[:-1]:
            assert re.match(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} ", line), f"no time stamp in {line!r}"
        return [line[24:] for line in lines[:-1] if not kinds or line[24:].startswith(kinds)]

    def end_all_programs(self) -> None:  # also those Skylet started itself (Avor, the servers)
        for option in ("-k", "-w"):
            subprocess.run([WINESERVER, option], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def stop(self) -> None:
        try:
            self.end_all_programs()
        finally:
            shutil.rmtree(self.root, ignore_errors=True)


def _rect(records: list[list[str]]) -> WindowRect:
    v = {r[0]: [int(n) for n in r[1:]] for r in records}
    return WindowRect(*v["window"], *v["client"], v["dpi"][0], v["state"][0] == 1, v["state"][1] == 1)


class Skydrive:
    """skydrive.exe: drive.menu(caption, "&Quit") and other acting commands give True on success; those
    that read give their values, None if the window is not there."""

    TIMEOUT = 150.0  # for a hung Wine only: every command's own wait is shorter
    READ = {"texts": lambda rs: [Control(int(r[0]), r[1], r[2], r[3] == "1", r[4] == "1", r[5], int(r[6]))
                                 for r in rs],
            "layout": lambda rs: {r[0]: tuple(map(int, r[1:5])) for r in rs},  # left top width height, px
            "focus": lambda rs: (rs[0][2], rs[0][3] == "1"),  # the control with the keys, window active
            "rect": _rect,
            "see_msgbox": lambda rs: MessageBox(rs[0][0], [r[0] for r in rs[1:]]),  # left open
            "windows": lambda rs: "\n".join("  " + " | ".join(r) for r in rs)}  # for a failure's message

    def __init__(self, prefix: WinePrefix):
        self.env = prefix.env

    def run(self, *args: str) -> DriveResult:
        # Files, not pipes: Wine's background programs inherit the handles and would hold a pipe open.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            command = [WINE, str(SKYDRIVE_EXE), *args]
            code = subprocess.run(command, env=self.env, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                  timeout=self.TIMEOUT).returncode
            out.seek(0)
            err.seek(0)
            stdout, stderr = out.read().decode("utf-8"), err.read().decode("utf-8", errors="replace")
        if code == 2:
            raise ValueError(f"skydrive usage error for {args}: {stderr}")
        # skydrive escapes \\, tab, CR and LF so every line of its output is one record.
        unescape = lambda f: re.sub(r"\\(.)", lambda m: {"t": "\t", "r": "\r", "n": "\n"}.get(m[1], m[1]), f)
        self.last = DriveResult(code, [[unescape(f) for f in line.split("\t")] for line in stdout.splitlines()],
                                stderr)
        return self.last

    def __getattr__(self, command: str):
        if command.startswith("_"):
            raise AttributeError(command)

        def call(*args, row=None):
            row_option = () if row is None else ("--row", str(row))
            result = self.run(command.replace("_", "-"), *map(str, args), *row_option)
            if command not in self.READ:
                return result.code == 0
            return self.READ[command](result.records) if result.code == 0 else None
        return call

    def named_texts(self, caption: str) -> dict[str, str] | None:
        controls = self.texts(caption)
        return None if controls is None else {c.name: c.text for c in controls if c.name}


class SkyletProcess:
    """skylet.exe under Wine; the Popen PID is the Windows process itself."""

    def __init__(self, prefix: WinePrefix, drive: Skydrive, log: Path):
        self.prefix, self.drive, self.log = prefix, drive, log
        self.proc: subprocess.Popen | None = None

    def start(self, locale: str | None = None, window: bool = True) -> None:  # locale: "de_DE.UTF-8"
        assert self.proc is None, "Skylet is already running"
        env = dict(self.prefix.env, **({"LC_ALL": locale} if locale else {}))
        self.drive.env = env  # another locale in a program the driver starts would reset Wine's number format
        with open(self.log, "wb") as out:
            self.proc = background([WINE, str(SKYLET_EXE)], out, cwd=SKYLET_EXE.parent, env=env)
        up = not window or self.drive.wait_window(MAIN_CAPTION, 30)
        assert up, f"no main window within 30 s:\n{self.drive.windows()}"

    def cpu_seconds(self) -> float:  # user and system time so far
        fields = Path(f"/proc/{self.proc.pid}/stat").read_text().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def running(self) -> bool:
        return self.proc is not None and self.proc.poll() is None

    def wait_exit(self, seconds: float) -> bool:
        return wait_until(lambda: not self.running(), seconds)

    def stop(self, grace: float = 3.0) -> None:
        if self.running():
            try:
                self.drive.close(MAIN_CAPTION)
                self.wait_exit(grace)
            finally:
                stop_process(self.proc, grace=1.0)


# Where an operator's settings files name the partners; the CAT servers are copies of the rotor server.
PARTNER_FILES = {"C:\\Avor\\Avor.exe": "Avor.exe", "C:\\Vantrak\\RotServer.exe": "RotServer.exe",
                 "C:\\Vantrak\\CatServer.exe": "RotServer.exe", "C:\\Ars\\Arswin.exe": "Arswin.exe",
                 "C:\\Other\\OtherCat.exe": "RotServer.exe"}


def install_partners(prefix: WinePrefix, extra: dict[str, str] | None = None) -> None:
    """Copies the substitutes (and extra: {windows path: built program}) without earlier logs and marks."""
    for windows_path, program in {**PARTNER_FILES, **(extra or {})}.items():
        if not (PARTNERS / program).is_file():
            raise FileNotFoundError(f"{PARTNERS / program} has not been built (cmake --build --preset win64)")
        target = prefix.drive_c(windows_path)
        target.parent.mkdir(parents=True, exist_ok=True)
        for old in [*target.parent.glob("*.log"), *target.parent.glob("*.refuse")]:
            old.unlink()
        shutil.copyfile(PARTNERS / program, target)


class SerialLine:
    """COMn backed by a pty pair: the far end reads what Skylet wrote, when, and may answer as an Icom."""

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
        # (the byte that ends a command, or a fixed command length; its reply): the far end answers as a radio
        self.far_end = None
        self._pending = b""
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
            if chunk and self.far_end:  # each command that is complete gets its reply
                end_byte, reply = self.far_end
                self._pending += chunk
                ended = lambda: (end_byte - 1 if len(self._pending) >= end_byte else -1) \
                    if isinstance(end_byte, int) else self._pending.find(end_byte)
                while (end := ended()) >= 0:
                    command, self._pending = self._pending[:end + 1], self._pending[end + 1:]
                    self.write(reply(command))

    def write(self, data: bytes) -> None:  # from the far end
        os.write(self._fd, data)

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


def icom(address: int) -> tuple:
    """A shared CI-V bus: each frame comes back as its echo, then FB from `address`."""
    answer = bytes([0xFE, 0xFE, 0xE0, address, 0xFB, 0xFD])
    return b"\xfd", lambda frame: frame + answer if frame.startswith(b"\xfe\xfe") else b""


def ts2000() -> tuple:
    """A TS-2000 as a program driving it sees it: sets are kept, queries answered from them."""
    state = {"FA": "00145000000", "FB": "00435000000", "MD": "4", "FR": "0", "FT": "0", "AI": "0", "PS": "1",
             "SA": "0000000"}

    def reply(command: bytes) -> bytes:
        text = command[:-1].decode("ascii", "replace")
        name, value = text[:2], text[2:]
        if text == "ID":
            return b"ID019;"
        if text == "IF":  # frequency, RIT, mode, receive and transmit VFO
            split = "1" if state["FR"] != state["FT"] else "0"
            vfo = state["FB" if state["FR"] == "1" else "FA"]
            return f"IF{vfo}     +000000000{state['MD']}{state['FR']}0{split}0000 ;".encode()
        if name not in state:
            return b"" if value else b"?;"
        if value:
            state[name] = value
            return b""
        return f"{name}{state[name]};".encode()
    return b";", reply


def record(az="123.4", el="12.3", up=145950000, dn=435800000, ma="128", sat="AO-7", end=b"\r",
           modes=("LSB", "USB")) -> bytes:
    """A tracking record as Avor sends it, by default LSB down and USB up; ma=None leaves MA out."""
    tail = "" if ma is None else f" MA{ma}"
    return f"SN{sat} AZ{az} EL{el} UP{up} UM{modes[1]} DN{dn} DM{modes[0]}{tail}".encode() + end


def shown(sat, az, el, rx, tx, dm, um, ma) -> dict[str, str]:
    return dict(zip(BOXES, (sat, az, el, rx, tx, dm, um, ma)))


def dialog(drive: Skydrive, entry: str, caption: str, system_menu: bool = False) -> None:
    """A menu bar entry (or one of the system menu) opens its dialog. Wine's keyboard menu under load has
    let a posted Alt key go unanswered once; the operator's second press is tried, which the main window,
    disabled beneath an open dialog, ignores."""
    for seconds in (5, 10):
        if system_menu:
            assert drive.menu(MAIN_CAPTION, "& ")
            time.sleep(0.5)
        assert drive.menu(MAIN_CAPTION, entry)
        if drive.wait_window(caption, seconds):
            return
    raise AssertionError(f"{caption} did not open:\n{drive.windows()}")


def traffic(drive: Skydrive) -> list[str]:
    """The lines of the window "Verkehr", opened from the system menu."""
    dialog(drive, "Ver&kehr...", "Verkehr", system_menu=True)
    return drive.named_texts("Verkehr")["lstVerkehr"].split("\n")


def carried(lines: list[str], link: str, way: str) -> bytes:
    """What one link's lines of one way carried: hex frames as their bytes, text as it stands."""
    frame = re.compile(r"[0-9A-F]{2}( [0-9A-F]{2})*")
    contents = [line[29:] for line in lines if line[14:27] == f"{link:<10} {way}"]
    return b"".join(bytes.fromhex(c) if frame.fullmatch(c) else c.encode("cp1252") for c in contents)


def boxes(drive: Skydrive) -> dict[str, str]:
    """The display boxes once two readings agree (a record may arrive between two boxes)."""
    def read() -> dict[str, str]:
        # One more look before calling the window gone: a busy Wine has missed it once.
        texts = drive.named_texts(MAIN_CAPTION)
        if texts is None:
            time.sleep(0.5)
            texts = drive.named_texts(MAIN_CAPTION)
        assert texts is not None, f"the main window went away (skydrive {drive.last.code}: {drive.last.stderr})"
        return {name: texts[name] for name in BOXES}
    last = read()
    for _ in range(5):
        if (now := read()) == last:
            return now
        last = now
    raise AssertionError(f"the display boxes never stood still: {last}")


def follow(drive: Skydrive, pictures: list[dict], seconds: float, seen_first=lambda i: None) -> set[int]:
    """The pictures seen up to the last, in order: each whole, one may be missed, never mixed."""
    reached, seen, deadline = 0, set(), time.monotonic() + seconds
    while reached < len(pictures) - 1 and time.monotonic() < deadline:
        now = boxes(drive)
        assert now in pictures[reached:], f"after picture {reached} the window shows {now}, no record's picture"
        reached = pictures.index(now, reached)
        if reached not in seen:
            seen_first(reached)
        seen.add(reached)
    return seen


def told(drive: Skydrive, shot, expected: list, seconds: float = 10, answer: bool = True) -> None:
    """Skylet's next message box says these lines (texts or re patterns); photographed, OK pressed."""
    box = drive.see_msgbox(seconds)
    assert box is not None, f"no message within {seconds} s; windows:\n{drive.windows()}"
    shot(f"msgbox-{time.monotonic():.0f}")
    assert box.caption == "Skylet" and len(box.lines) == len(expected), box
    assert all(e.fullmatch(line) if isinstance(e, re.Pattern) else e == line
               for e, line in zip(expected, box.lines)), box
    assert not answer or drive.msgbox(5), "the box went before OK was pressed"


def quit_skylet(skylet: SkyletProcess, drive: Skydrive, how: str = "menu") -> float:
    """Seconds from the quit request to the program's end."""
    if how == "minimised":  # the close box of a minimised window, through the system menu
        assert drive.menu(MAIN_CAPTION, "& ")
        time.sleep(0.5)
        assert drive.menu(MAIN_CAPTION, "Mi&nimize")
        assert wait_until(lambda: drive.rect(MAIN_CAPTION).left <= -32000, 5), drive.rect(MAIN_CAPTION)
    asked = time.monotonic()
    assert drive.close(MAIN_CAPTION) if how != "menu" else drive.menu(MAIN_CAPTION, "&Quit")
    assert skylet.wait_exit(20), "Skylet still runs 20 s after the quit request"
    assert skylet.proc.returncode == 0, "ended otherwise than through the quit sequence"
    return time.monotonic() - asked


class Checks:
    """check("name", ok, detail) notes (and prints) a failure and goes on; done() asserts them all."""

    def __init__(self):
        self.failed: list[str] = []

    def __call__(self, name: str, ok: bool, detail: object = "") -> bool:
        if not ok:
            self.failed.append(f"{name}: {detail}" if detail != "" else name)
            print("failed check", self.failed[-1])  # shown with the report should a later assert fail
        return ok

    def done(self) -> None:
        assert not self.failed, "failed checks:\n  " + "\n  ".join(self.failed)
