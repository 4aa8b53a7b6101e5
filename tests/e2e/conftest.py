"""Fixtures for the end-to-end scenarios.

One Xvfb and one Wine prefix serve the whole session; each test writes its own
settings profile, starts Skylet itself and has it stopped afterwards.
Screenshots, control listings and Skylet's console log go to build/e2e-shots/
for a person to look at.

SKYLET_EXE and SKYDRIVE_EXE in the environment point the harness at other
builds of the two programs.
"""

from __future__ import annotations

import os
import re
import shutil
import signal
from pathlib import Path

import pytest

import helpers
import profiles

# Generous next to what a scenario needs (under a minute); it only has to
# make sure a hang ends as a failure instead of stalling CI.
TEST_SECONDS = int(os.environ.get("E2E_TEST_SECONDS", "240"))


def pytest_configure(config):
    helpers.install_termination_handler()

    def expire(signum, frame):
        raise TimeoutError(f"end-to-end test ran longer than {TEST_SECONDS} s")
    signal.signal(signal.SIGALRM, expire)


# Only the test body is timed: the finalizers that stop Skylet must run to the
# end, and each of their waits has its own time-out.
@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_call(item):
    signal.alarm(TEST_SECONDS)
    try:
        yield
    finally:
        signal.alarm(0)


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    report = outcome.get_result()
    if report.when == "call":
        item.call_failed = report.failed


def _safe_name(request) -> str:
    return re.sub(r"[^A-Za-z0-9_.-]+", "_", request.node.name)


@pytest.fixture(scope="session")
def shots_dir() -> Path:
    """Emptied once per run, so what a person finds there is from this run."""
    shutil.rmtree(helpers.SHOTS, ignore_errors=True)
    helpers.SHOTS.mkdir(parents=True)
    return helpers.SHOTS


@pytest.fixture(scope="session")
def display(shots_dir):
    xvfb = helpers.Xvfb(helpers.SHOTS / "xvfb.log")
    yield xvfb.display
    xvfb.stop()


@pytest.fixture(scope="session")
def wine(display):
    for exe in (helpers.SKYLET_EXE, helpers.SKYDRIVE_EXE):
        if not exe.is_file():
            pytest.fail(f"{exe} has not been built (cmake --build --preset win64)")
    prefix = helpers.WinePrefix(display, helpers.SHOTS / "wineboot.log")
    yield prefix
    prefix.stop()


@pytest.fixture
def profile(wine):
    """Writes a settings profile into the prefix: profile(profiles.default_profile()),
    and puts the substitute partner programs where it names them (more with
    extra={windows path: built program})."""
    def write(content: profiles.Profile, extra: dict[str, str] | None = None) -> None:
        helpers.install_partners(wine, extra)
        profiles.write_profile(wine.root, content)
    return write


@pytest.fixture
def partner(request, wine):
    """partner("C:\\Avor\\Avor.exe", "--log", ...) starts a substitute by hand,
    as an operator would before starting Skylet; stopped after the test."""
    started: list[helpers.PartnerProcess] = []

    def start(windows_path: str, *args: str) -> helpers.PartnerProcess:
        name = f"{_safe_name(request)}-{Path(windows_path.replace(chr(92), '/')).stem}.out"
        process = helpers.PartnerProcess(wine, windows_path, list(args), helpers.SHOTS / name)
        started.append(process)
        return process

    yield start
    for process in started:
        process.stop()


@pytest.fixture
def serial_line(request, wine):
    """serial_line(3) -> COM3 of the prefix on a pty pair; the test reads the
    far end. Removed after the test."""
    lines: list[helpers.SerialLine] = []

    def make(port: int) -> helpers.SerialLine:
        line = helpers.SerialLine(wine, port, helpers.SHOTS / f"{_safe_name(request)}-socat.log")
        lines.append(line)
        return line

    yield make
    for line in lines:
        line.stop()


@pytest.fixture
def vantrak_dir(wine) -> Path:
    return profiles.vantrak_dir(wine.root)


@pytest.fixture
def skylet_dir(wine) -> Path:
    return profiles.skylet_dir(wine.root)


@pytest.fixture
def drive(wine) -> helpers.Skydrive:
    return helpers.Skydrive(wine)


@pytest.fixture
def shot(request, display, drive):
    """shot("msgbox") saves build/e2e-shots/<test>-msgbox.png and, when the
    main window is up, a listing of its controls beside it."""
    base = _safe_name(request)

    def take(suffix: str = "") -> Path:
        name = base + (f"-{suffix}" if suffix else "")
        controls = drive.texts(helpers.MAIN_CAPTION)
        if controls is not None:
            listing = "\n".join(f"{c.id}\t{c.name}\t{c.cls}\t{c.text!r}\t"
                                f"visible={c.visible}\tenabled={c.enabled}" for c in controls)
            (helpers.SHOTS / f"{name}.controls.txt").write_text(listing + "\n", encoding="utf-8")
        return helpers.screenshot(display, helpers.SHOTS / f"{name}.png")
    return take


@pytest.fixture
def skylet(request, wine, drive, shot):
    """Skylet under Wine, not yet started: call skylet.start() after writing
    the profile. Closed (then killed) at the end of the test."""
    process = helpers.SkyletProcess(wine, drive, helpers.SHOTS / f"{_safe_name(request)}.log")
    yield process
    try:
        if process.running() and getattr(request.node, "call_failed", False):
            shot("failed")
    finally:
        try:
            process.stop()
        finally:
            # Avor and the servers Skylet started are no children the
            # harness knows by PID: end the prefix's programs as a whole.
            wine.end_all_programs()
