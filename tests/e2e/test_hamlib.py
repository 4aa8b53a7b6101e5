"""Radio and rotor through Hamlib's own daemons: dummies read back and tuned by another client, a TS-2000
behind rigctld byte for byte as Skylet's own Kenwood path while another client switches its VFOs, a daemon
killed mid-pass and started again."""

import re
import socket
import subprocess
import threading

import pytest

from helpers import MAIN_CAPTION, SHOTS, background, record, stop_process, traffic, wait_until
from helpers import ts2000 as ts2000_radio
from profiles import sat_ini, start_options, station, ts2000
from test_faults import PASS, Run
from test_radio_output import RADIOS, SCRIPT


class Daemon:
    """rigctld or rotctld (`-m` model) on a free loopback port, logging what it was asked."""

    def __init__(self, program: str, model: int, *args: str):
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            self.port = s.getsockname()[1]
        self.program, self.args = program, ["-m", str(model), "-T", "127.0.0.1", "-t", str(self.port), *args]
        self.log, self.proc = SHOTS / f"{program}-{self.port}.log", None

    def start(self) -> None:
        with open(self.log, "ab") as log:
            self.proc = background([self.program, "-vvvv", *self.args], log)

        def listening() -> bool:
            with socket.socket() as s:
                return s.connect_ex(("127.0.0.1", self.port)) == 0
        assert wait_until(listening, 10), f"{self.program} does not listen on {self.port}"

    def ask(self, *commands: str) -> list[str]:
        """What the network client (`rigctl`, `rotctl` -m 2) reads back."""
        client = self.program[:-1]
        out = subprocess.run([client, "-m", "2", "-r", f"localhost:{self.port}", *commands],
                             capture_output=True, text=True, timeout=20, stdin=subprocess.DEVNULL)
        return out.stdout.split()

    def calls(self, pattern: str) -> list[str]:
        return re.findall(pattern, self.log.read_bytes().decode("latin-1"))


@pytest.fixture
def daemon(request):
    def make(program: str, model: int, *args: str) -> Daemon:
        d = Daemon(program, model, *args)
        request.addfinalizer(lambda: d.proc and stop_process(d.proc))
        d.start()
        return d
    return make


def hamlib(rig: Daemon | None = None, rot: Daemon | None = None, way: str = "V") -> bytes:
    on = lambda d: "+" if d else "-"
    return (f"{on(rig)}\r\nlocalhost:{rig.port if rig else 4532}\r\n{on(rot)}\r\n"
            f"localhost:{rot.port if rot else 4533}\r\n{way}\r\n").encode()


def test_dummies_follow_the_pass_and_park_and_a_killed_rigctld_is_told_once_and_found_again(
        profile, daemon, skylet, drive, wine, shot, check):
    rig, rot = daemon("rigctld", 1), daemon("rotctld", 1)
    # Tracking by time and park on, no rotor interface number and a serial TS-2000 named on COM3, which has
    # nothing behind it (a port opened all the same would end Skylet with its message): Hamlib takes both.
    # A short pass and its park, then a long one during which rigctld goes away.
    profile(station(start_options(rotor="+", cat="+", park="+", dde_rotor="+", dde_cat="+"), ts2000(3),
                    {"Hamlib.SQF": hamlib(rig, rot), "DDERotOpt.SQF": b"i\r\n 2\r\n 5\r\nk\r\n",
                     "DDEParkPos.SQF": b" 20\r\n 5\r\n 2\r\n"}),
            [b"**", record("10.0", "5.0"), record("10.5", "5.4", 145950050, 435799950),
             record("10.6", "5.5", 145950100, 435799800, "129")] + [b"**"] * 12 + PASS[1:])
    skylet.start()
    check("no message at start", drive.no_msgbox(1))
    positions = lambda: rot.calls(r"rot_set_position called az=(\S+) el=(\S+)")
    check("position by time, then park", wait_until(lambda: len(positions()) >= 2, 20, 0.5)
          and positions()[:2] == [("10.00", "5.00"), ("20.00", "5.00")], positions())
    # Read once the pass is over, in the daemon's plain commands: the last record's settings.
    read_back = lambda: rig.ask("V", "Main", "f", "m", "V", "Sub", "f", "m")
    wanted = ["435799800", "LSB", "2400", "145950100", "USB", "2400"]
    check("radio read back", wait_until(lambda: read_back() == wanted, 10, 0.5), read_back())

    run = Run(wine=wine, drive=drive, shot=shot)
    azimuth = lambda: float(drive.named_texts(MAIN_CAPTION)["edAZ"] or 0)
    assert wait_until(lambda: azimuth() >= 100, 30, 0.5), "the long pass did not begin"
    stop_process(rig.proc)
    run.told_once([re.compile(rf"Hamlib rigctld \(localhost:{rig.port}\): .*"),
                   "Skylet verfolgt den Satelliten weiter und versucht es wieder."])
    # Meanwhile something takes the connection and never answers: each wait ends on time, tracking goes on.
    with socket.create_server(("127.0.0.1", rig.port)) as silent:
        taken = []
        threading.Thread(target=lambda: taken.append(silent.accept()[0]), daemon=True).start()
        check("a silent daemon is linked", wait_until(lambda: taken, 15, 0.2))
        run.carries_on()
        for connection in taken:
            connection.close()
    rig.start()
    main = lambda: rig.ask("V", "Main", "f", "m")
    check("modes again on the fresh radio", wait_until(lambda: main()[1:2] == ["LSB"], 20, 0.5), main())
    first = int(main()[0])
    check("frequencies follow again", wait_until(lambda: int(main()[0]) < first, 10, 0.5), main())


def switching_vfos(port: int, stop: threading.Event, answers: list[bytes]) -> None:
    """Another program on the same rigctld, in the daemon's plain commands: "V Main", "V Sub", ... until stopped."""
    with socket.create_connection(("127.0.0.1", port)) as s, s.makefile("rwb") as talk:
        while not stop.is_set():
            talk.write(b"V Sub\n" if len(answers) % 2 else b"V Main\n")
            talk.flush()
            answers.append(talk.readline())


def test_ts2000_behind_rigctld_gets_the_same_settings_as_from_skylet_itself_while_another_client_switches_vfos(
        profile, daemon, serial_line, skylet, check):
    line = serial_line(9)
    line.far_end = ts2000_radio()
    rig = daemon("rigctld", 2014, "-r", str(line.near), "-s", "9600")
    profile(station(start_options(cat="+"), {"SatIni.SQF": sat_ini()}, {"Hamlib.SQF": hamlib(rig)}), SCRIPT)
    stop, switched = threading.Event(), []
    switcher = threading.Thread(target=switching_vfos, args=(rig.port, stop, switched), daemon=True)
    switcher.start()
    skylet.start()
    # Each of Skylet's commands names its VFO: none lands where the other client's last "V" pointed.
    sets = lambda data: sorted(re.findall(rb"(?:FA|FB)\d{11};|MD\d;", data))
    own = sets(b"".join(RADIOS[0].frames))
    check("the pass's settings", wait_until(lambda: sets(line.data()) == own, 30, 0.5), sets(line.data()))
    stop.set()
    switcher.join(10)
    check("VFOs switched throughout", len(switched) >= 20 and set(switched) == {b"RPRT 0\n"}, switched)


def test_the_dummy_radio_tuned_from_another_client_mid_pass_is_followed(profile, daemon, skylet, drive, check):
    rig = daemon("rigctld", 1)
    profile(station(start_options(cat="+"), {"SatIni.SQF": sat_ini()},
                    {"Hamlib.SQF": hamlib(rig), "SkyletOptionen.SQF": b"+\r\n+\r\n"}), [record()] * 40)
    skylet.start()
    side = lambda vfo: rig.ask("V", vfo, "f")[:1]
    assert wait_until(lambda: side("Sub") == ["145950000"], 20, 0.5), side("Sub")
    rig.ask("V", "Main", "F", "435801000")  # a logger's operator turns the receive side 1 kHz up
    check("the uplink 1 kHz lower", wait_until(lambda: side("Sub") == ["145949000"], 10, 0.5), side("Sub"))
    check("the downlink where it was turned", side("Main") == ["435801000"], side("Main"))
    # The traffic window: every set the daemon took from Skylet, in order, and each command's answer after it
    # (the last may still be waited for). Read first; the daemon may have taken more meanwhile.
    lines = [line[14:] for line in traffic(drive) if line[14:].startswith("rigctld")]
    sets = [line[15:] for line in lines if line[15:].startswith(("F ", "M "))]
    took = [f"{'F' if kind == 'freq' else 'M'} {' '.join(filter(None, values))}" for kind, *values in rig.calls(
        r"rig_set_(freq|mode) called,? vfo=(\w+), (?:freq|mode)=(\w+)(?:, width=(\d+))?") if values[0] != "currVFO"]
    check("the traffic window: the sets the daemon took", len(sets) >= 6 and took[:len(sets)] == sets, (sets, took))
    ways = [line[11:13] for line in lines if line[11:13] != "--"]
    check("the traffic window: each answer after its command",
          ways[:len(ways) // 2 * 2] == ["->", "<-"] * (len(ways) // 2), lines)
