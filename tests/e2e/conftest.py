"""One Xvfb and Wine prefix serve the session; screenshots, control listings and logs go to helpers.SHOTS."""

import os
import re
import select
import shutil
import signal
import subprocess
from pathlib import Path

import pytest

import helpers
import profiles

# Only has to turn a hang into a failure instead of stalling CI.
TEST_SECONDS = int(os.environ.get("E2E_TEST_SECONDS", "240"))


def pytest_configure(config):
    def interrupt(signum, frame):  # SIGTERM, say from `timeout`: the finalizers still stop everything
        raise KeyboardInterrupt(f"signal {signum}")

    def expire(signum, frame):
        raise TimeoutError(f"end-to-end test ran longer than {TEST_SECONDS} s")
    signal.signal(signal.SIGTERM, interrupt)
    signal.signal(signal.SIGALRM, expire)


# Only the body is timed, finalizers time out on their own; a body that got through has its checks asserted.
@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_call(item):
    signal.alarm(TEST_SECONDS)
    try:
        outcome = yield
    finally:
        signal.alarm(0)
    if outcome.excinfo is None and "check" in item.funcargs:
        item.funcargs["check"].done()


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    report = (yield).get_result()
    if report.when == "call":
        item.call_failed = report.failed


def _name(request, suffix: str = "") -> Path:
    return helpers.SHOTS / (re.sub(r"[^A-Za-z0-9_.-]+", "_", request.node.name) + suffix)


@pytest.fixture(scope="session")
def display():
    shutil.rmtree(helpers.SHOTS, ignore_errors=True)  # what a person finds there is this run's
    helpers.SHOTS.mkdir(parents=True)
    # A display of our own: Xvfb picks a free number and reports it once it takes clients.
    read_end, write_end = os.pipe()
    with open(helpers.SHOTS / "xvfb.log", "wb") as log:
        xvfb = helpers.background(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                                   "-nolisten", "tcp", "-noreset"], log, pass_fds=(write_end,))
    os.close(write_end)
    with os.fdopen(read_end, "rb") as pipe:
        number = pipe.readline().strip() if select.select([pipe], [], [], 20)[0] else b""
    try:
        assert number, "Xvfb reported no display within 20 s"
        yield ":" + number.decode()
    finally:
        helpers.stop_process(xvfb)


@pytest.fixture(scope="session")
def wine(display):
    for exe in (helpers.SKYLET_EXE, helpers.SKYDRIVE_EXE):
        if not exe.is_file():
            pytest.fail(f"{exe} has not been built (cmake --build --preset win64)")
    prefix = helpers.WinePrefix(display, helpers.SHOTS / "wineboot.log")
    prefix.vantrak_dir, prefix.skylet_dir = (profiles.data_dir(prefix.root, n) for n in ("Vantrak", "Skylet"))
    yield prefix
    prefix.stop()


@pytest.fixture
def profile(wine):
    """profile(station(...), [records], extra) writes settings, partners and Avor's script."""
    def write(content: profiles.Profile, script: list[bytes] = (), extra: dict[str, str] | None = None) -> None:
        helpers.install_partners(wine, extra)
        profiles.write_profile(wine.root, content)
        # A record a line, each answered once in turn, the last one from then on.
        wine.drive_c("C:\\Avor\\pass.txt").write_bytes(b"".join(r + b"\r\n" for r in script))
        if (position := wine.skylet_dir / "SkyletPos.SQF").exists():
            os.utime(position, (helpers.LONG_AGO, helpers.LONG_AGO))
    return write


@pytest.fixture
def partner(request, wine):
    """partner("C:\\Avor\\Avor.exe", "--log", ...) starts a substitute by hand, as an operator would."""
    def start(windows_path: str, *args: str) -> subprocess.Popen:
        exe = wine.drive_c(windows_path)
        with open(_name(request, f"-{exe.stem}.out"), "wb") as log:
            process = helpers.background([helpers.WINE, str(exe), *args], log, cwd=exe.parent, env=wine.env)
        request.addfinalizer(lambda: helpers.stop_process(process))
        return process
    return start


@pytest.fixture
def serial_line(request, wine):
    def make(port: int) -> helpers.SerialLine:
        line = helpers.SerialLine(wine, port, _name(request, f"-com{port}.log"))
        request.addfinalizer(line.stop)
        return line
    return make


@pytest.fixture
def drive(wine) -> helpers.Skydrive:
    return helpers.Skydrive(wine)


@pytest.fixture
def check() -> helpers.Checks:
    return helpers.Checks()


@pytest.fixture
def shot(request, display, drive):
    """shot("msgbox") saves <test>-msgbox.png and, with the main window up, its controls."""
    def take(suffix: str) -> None:
        controls = drive.texts(helpers.MAIN_CAPTION)
        if controls is not None:
            _name(request, f"-{suffix}.controls.txt").write_text(
                "".join(f"{c.id}\t{c.name}\t{c.cls}\t{c.text!r}\tvisible={c.visible}\t"
                        f"enabled={c.enabled}\n" for c in controls), encoding="utf-8")
        subprocess.run(["import", "-display", display, "-window", "root", _name(request, f"-{suffix}.png")],
                       stdin=subprocess.DEVNULL, capture_output=True, timeout=30, check=True)
    return take


@pytest.fixture
def skylet(request, wine, drive, shot):
    """Skylet, started by the test; closed (then killed) at the end with every program of the prefix."""
    process = helpers.SkyletProcess(wine, drive, _name(request, ".log"))
    yield process
    try:
        if process.running() and getattr(request.node, "call_failed", False):
            shot("failed")
    finally:
        try:
            process.stop()
        finally:
            wine.end_all_programs()
