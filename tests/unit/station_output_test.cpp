// What the station sends the radio, the rotor and all partners at quit, read as one timeline.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>
#include <utility>

#include "app/shutdown.h"
#include "app/startup.h"
#include "hamlib/daemon.h"
#include "fakes/fakes.h"
#include "radio/cat_wait.h"
#include "radio/frequency_output.h"
#include "radio/link_setup.h"
#include "radio/modes.h"
#include "rotor/park.h"
#include "rotor/positioning.h"
#include "rotor/switches.h"
#include "tracking/parse_record.h"
#include "ui/ausgabe_form.h"
#include "ui/form_events.h"
#include "ui/rotor_form.h"

namespace skylet {
namespace {

using Lines = std::vector<std::string>;

// After start-up: CAT on to `model` (an IC-910H answers every frame), rotor and CAT servers linked.
struct Partners : fakes::FakeStation {
  radio::RadioState& r = st.radio;
  rotor::RotorState& rot = st.rotor;

  explicit Partners(const std::string& model = "TS-2000") {
    SerialRadio(model[0] == 'T' ? "Kenwood" : model[0] == 'F' ? "Yaesu" : "Icom", model);
    if (model == "IC-910H") port.icomAnswer = std::string("\xFE\xFE\xE0\x60\xFB\xFD", 6);
    r.CatOn = rot.DdeRotor = rot.RotorOn = "+";
    rot.RotType = 1;
    app::FinishStartUp(st);
    st.ServerName = "RotServer";
    rotorLink.Open({"RotServer", "RotServConv", "RotServItem", 200});
    catLink.Open({"CatServer", "CatServConv", "CatServItem", 50});
  }
  const fakes::Operator rotorDialog = At(ui::RotorForm());
};

using Act = std::function<void(Partners&)>;

// The downlink 435800 kHz and `up`, taken for sent.
Act Freq(double up) {
  return [=](Partners& f) {
    radio::SendCatFreq(f.st, 435800, up);
    EXPECT_EQ(f.r.LastCatFreq, 435800);
  };
}

Act Modes(const char* down, const char* up) {
  return [=](Partners& f) {
    f.r.CatBytes = {0, 0x43, 0x58, 0, 0, 0x1E};  // the last frequency frame
    f.st.tracking.DownMode = down;
    f.st.tracking.UpMode = up;
    radio::SetCatMode(f.st);
  };
}

// The link set-up, asked for twice: it is done once. The port's settings come first.
Act Open(const char* baud) {
  return [=](Partners& f) {
    f.port.Close();
    f.timeline.clear();
    f.r.YaesuBaud = f.r.KenwoodBaud = f.r.IcomBaud = baud;
    f.port.rtsEnable = true;  // whatever the port held before
    radio::OpenCatLink(f.st);
    radio::OpenCatLink(f.st);
    EXPECT_FALSE(f.port.rtsEnable);
    const std::string port = "COM" + std::to_string(f.port.commPort) + " " + f.port.settings;
    f.timeline.insert(f.timeline.begin(), port + (f.port.inputBinary ? " binary" : ""));
  };
}

// CAT off and on again: the next record sends its frequencies.
void SwitchOffOn(Partners& f) {
  f.r.LastCatFreq = 145900;
  EXPECT_TRUE(radio::CatSwitchOff(f.st) && radio::CatSwitchOn(f.st));
  EXPECT_EQ(f.r.LastCatFreq, 0);
  EXPECT_EQ(f.st.main.lblCat.caption + f.r.CatOn, " C++");
}

// The radio through rigctld in the uplink way `way`: no CAT waits, no serial port. The daemon answers the
// VFO mode's switch as Hamlib 4.5 does, and `vfos` in turn when asked whether it took, the last one from then on.
Act Hamlib(const char* way, std::deque<std::string> vfos, Act act) {
  return [=](Partners& f) {
    f.st.hamlib.live.RigOn = "+";
    f.st.hamlib.live.UplinkWay = way;
    f.rigNet.answers = vfos;
    f.rigNet.answers.push_front("RPRT -11");
    f.rigNet.vfos = vfos.back();
    act(f);
  };
}

// A new link to rigctld: the VFO mode asked for, `questions` times whether it took, and turned off again where
// it did not.
std::string Linked(int questions, bool took = true) {
  std::string asked = "rigctld connect localhost:4532 | rigctld \\set_vfo_opt 1 | ";
  while (questions-- > 0) asked += "rigctld \\chk_vfo | ";
  return asked + (took ? "" : "rigctld \\set_vfo_opt 0 | ");
}
const std::string kVfosAsked = Linked(1);

// Split: transmit on VFO B, told once per connection.
void SplitPass(Partners& f) {
  Modes("FM-N", "USB")(f);
  f.r.TxOffset = 100;
  Freq(145900)(f);
  EXPECT_TRUE(radio::CatSwitchOff(f.st) && radio::CatSwitchOn(f.st));
}

void NoPort(Partners& f) {
  f.r.CatPort = 0;
  f.port.Close();
  f.timeline.clear();
  radio::OpenCatLink(f.st);
  radio::SendCatFreq(f.st, 435800, 145900);
  Modes("USB", "LSB")(f);
  EXPECT_FALSE(f.port.IsOpen());
}

TEST(RadioWire, EachModelSeesItsSequence) {
  const std::tuple<const char*, Act, std::string> rows[] = {
      {"TS-790", Freq(145900),
       "50ms | DC1; | 50ms | FA00435800000; | 50ms | DC0; | 50ms | FA00145900000; | 50ms | DC1;"},
      // No uplink: the downlink alone, and the TS-790 is not reselected.
      {"TS-790", Freq(0), "50ms | DC1; | 50ms | FA00435800000; | 50ms"},
      // No wait before the first command; an answer ends each reply wait at once,
      {"IC-910H", Freq(145900),
       "discard | discard | FE FE 61 E0 07 D0 FD | 50ms | discard | FE FE 60 E0 05 00 00 80 35 04 FD | "
       "discard | FE FE 60 E0 07 D1 FD | 50ms | discard | FE FE 61 E0 05 00 00 90 45 01 FD | "
       "discard | FE FE 61 E0 07 D0 FD | 50ms | discard"},
      // and a radio that does not answer costs three waits per frequency frame; an answer cut short (the
      // echo and 5 bytes: 16) is none.
      {"IC-910H",
       [](Partners& f) {
         f.port.icomAnswer = std::string("\xFE\xFE\xE0\x60\xFD", 5);
         Freq(0)(f);
       },
       "discard | discard | FE FE 61 E0 07 D0 FD | 50ms | discard | FE FE 60 E0 05 00 00 80 35 04 FD | "
       "151ms | discard | FE FE 61 E0 07 D0 FD | 50ms | discard"},
      // Only a change of at least the step is sent; the larger frequency counts.
      {"TS-2000",
       [](Partners& f) {
         f.r.IntV = 250;
         f.r.LastCatFreq = 145900;
         radio::SendCatFreq(f.st, 145900.125, 0);
         radio::SendCatFreq(f.st, 145900.25, 145000);
       },
       "50ms | FA00145900250; | 50ms | FB00145000000; | 50ms"},
      // A converter offset comes off only above itself, each side its own.
      {"TS-2000",
       [](Partners& f) {
         f.r.RxOffset = 2256000;
         f.r.TxOffset = 144000;
         for (double kHz : {2401000.0, 435000.0, 2256000.0}) {
           f.r.LastCatFreq = 0;
           radio::SendCatFreq(f.st, kHz, kHz == 435000 ? 432100 : 0);
         }
       },
       "50ms | FA00145000000; | 100ms | FA00435000000; | 50ms | FB00288100000; | 100ms | FA02256000000; | 50ms"},
      // The CAT server: both frequencies in the user's number format (taken from Windows: end to end), offsets
      // only above them; its command is text: 10 GHz and more simply takes more digits.
      {"IC-821H",
       [](Partners& f) {
         f.r.DdeCat = "+";
         f.locale.separator = ",";
         f.r.CatPort = 0;
         f.r.TxOffset = 100;
         Freq(0)(f);
         radio::SendCatFreq(f.st, 435900, 145900);
         radio::SendCatFreq(f.st, 10489550, 2400050);
       },
       "50ms | cat SF0435800,000 0000000,000 | 100ms | cat SF0435900,000 0145800,000 | 100ms | "
       "cat SF10489550,000 2399950,000 | 50ms"},
      {"TS-2000", Modes("USB", "LSB"),
       "50ms | SA1010000; | 50ms | MD2; | 100ms | SA1011000; | 50ms | MD1; | 50ms | AI0;"},
      // A name without a command sends the one before again.
      {"TS-790", Modes("CW-N", "FM-W"), "50ms | DC1; | 50ms | MD4; | 100ms | DC0; | 50ms | MD4; | 50ms | AI0;"},
      {"TS-2000", Modes("FM", "CW"),
       "50ms | SA1010000; | 50ms | MD4; | 100ms | SA1011000; | 50ms | MD3; | 50ms | AI0;"},
      {"FT-736R", Modes("FM", "CW"), "50ms | 08 58 00 00 17 | 50ms | 02 58 00 00 27 | 50ms"},
      {"FT-736R", Modes("FM-N", "CW-N"), "50ms | 88 58 00 00 17 | 50ms | 82 58 00 00 27 | 50ms"},
      // CW rebuilds the Icom command; its filter byte stays for FM.
      {"IC-910H", Modes("CW", "FM"),
       "50ms | FE FE 61 E0 07 D0 FD | 50ms | FE FE 60 E0 06 03 01 FD | 50ms | FE FE 60 E0 07 D1 FD | "
       "50ms | FE FE 61 E0 06 05 01 FD | 50ms | FE FE 61 E0 07 D0 FD | discard | 50ms"},
      // Modes a take-up could not set go out with the next record, then its frequencies at once.
      {"FT-736R",
       [](Partners& f) {
         f.rot.RotorOn = "-";
         f.port.failWrites = true;
         for (bool fails : {true, false}) {
           f.port.failWrites = fails;
           tracking::ParseRecord(f.st, "SNAO-7 AZ10 EL20 UP145950000 UMUSB DN435800000 DMLSB MA1\r");
         }
       },
       "50ms | 00 00 00 00 17 (failed) | notice | 50ms | 00 00 00 00 17 | 50ms | 01 00 00 00 27 | 100ms | "
       "43 58 00 00 1E | 50ms | 14 59 50 00 2E | 50ms"},
      // The CAT server gets both names; a refusal ends the program.
      {"IC-821H",
       [](Partners& f) {
         f.r.DdeCat = "+";
         f.catLink.acceptCommands = false;
         EXPECT_THROW(Modes("USB", "LSB")(f), fakes::ProgramEnded);
         EXPECT_EQ(f.alerts.boxes.at(0).text,
                   "Fehler bei der Ausgabe an den Catserver,\rstarten Sie Skylet neu.");
       },
       "cat SMUSB LSB (refused) | message"},
      // A port held elsewhere ends the program, after the settings problems (its words: test_faults.py).
      {"FT-847",
       [](Partners& f) {
         f.port.failOpen = true;
         f.st.settingsReport.Add("C:\\x\\YaesuPar.SQF", "Datei nicht gefunden");
         EXPECT_THROW(Open("4800")(f), fakes::ProgramEnded);
       },
       "message | message"},
      {"TS-790", Open("9600"), "COM3 4800,N,8,2 | DC0; | 50ms | FN0; | 50ms | DC1; | 50ms | FN0; | 50ms"},
      {"TS-2000", Open("4800"), "COM3 4800,N,8,2 | SA1010000; | 50ms"},
      // COM1 is a port like any other; a Yaesu is set up with CAT off first.
      {"FT-847",
       [](Partners& f) {
         f.r.CatPort = f.port.commPort = 1;
         Open("9600")(f);
         Freq(0)(f);
       },
       "COM1 9600,N,8,2 | 80 80 80 80 80 | 50ms | 00 00 00 00 00 | 50ms | 00 00 00 00 4E | 100ms | "
       "43 58 00 00 1E | 50ms"},
      // The satellite parameter from KenwoodPar.SQF goes into the TS-2000's commands.
      {"TS-2000", [](Partners& f) { f.r.KenwoodSatPar = "1"; radio::BuildCatCommands(f.st); Open("9600")(f); },
       "COM3 9600,N,8,1 | SA1110000; | 50ms"},
      // Another Kenwood is driven like the TS-2000, without its satellite set-up; without a baud rate
      // its file is named and the start ends, the port unopened.
      {"TS-850", Open("9600"), "COM3 9600,N,8,1"},
      {"TS-850",
       [](Partners& f) {
         EXPECT_THROW(Open("0")(f), fakes::ProgramEnded);
         EXPECT_EQ(f.alerts.boxes.at(0).text, std::string(f.kVantrak) +
                       "KenwoodPar.SQF: die Baudrate \"0\" ist keine Zahl \xfc" "ber 0;\r"
                       "der Transceiver an COM3 kann so nicht eingerichtet werden.\rSkylet wird beendet.");
         EXPECT_FALSE(f.port.IsOpen());
       },
       "message"},
      {"IC-910H", Open("19200"), "COM3 19200,N,8,1 binary | FE FE 60 E0 1A 07 01 FD | 50ms"},
      {"FT-736R", SwitchOffOn, "80 80 80 80 80 | 00 00 00 00 00 | 50ms | 00 00 00 00 0E | 50ms"},
      // The CAT server switches instead; a refusal is told, the switch has changed all the same.
      {"TS-2000",
       [](Partners& f) {
         f.r.DdeCat = "+";
         SwitchOffOn(f);
         f.catLink.acceptCommands = false;
         EXPECT_FALSE(radio::CatSwitchOff(f.st));
         EXPECT_EQ(f.st.main.lblCat.caption, " C-");
       },
       "cat RaClose | cat RaOpen | cat RaClose (refused)"},
      // A failed send is told once and tried again, within the step too; a new outage is news again (between: a
      // good send). The Icom's own sequence the same.
      {"TS-2000",
       [](Partners& f) {
         f.r.IntV = 100;
         f.port.failWrites = true;
         radio::SendCatFreq(f.st, 435800, 145900);
         radio::SendCatFreq(f.st, 435800, 145900);
         f.port.failWrites = false;
         Freq(145900)(f);
         f.port.failWrites = true;
         f.r.LastCatFreq = 0;
         radio::SendCatFreq(f.st, 435800, 145900);
       },
       "50ms | FA00435800000; (failed) | notice | 50ms | FA00435800000; (failed) | 50ms | FA00435800000; | "
       "50ms | FB00145900000; | 100ms | FA00435800000; (failed) | notice"},
      {"IC-910H",
       [](Partners& f) {
         f.r.IntV = 100;
         for (bool fails : {true, false}) {
           f.port.failWrites = fails;
           radio::SendCatFreq(f.st, 435800, 0);
         }
       },
       "discard | discard | FE FE 61 E0 07 D0 FD (failed) | notice | discard | discard | FE FE 61 E0 07 D0 FD | "
       "50ms | discard | FE FE 60 E0 05 00 00 80 35 04 FD | discard | FE FE 61 E0 07 D0 FD | 50ms | discard"},
      // The same for the CAT server; a refused command goes again with the next record, the same or not.
      {"IC-821H",
       [](Partners& f) {
         f.r.DdeCat = "+";
         f.r.IntV = 100;
         for (const auto& [refused, down] : {std::pair{true, 435800.0}, {false, 435800.0}, {true, 435900.0}}) {
           f.catLink.acceptCommands = !refused;
           radio::SendCatFreq(f.st, down, 145900);
         }
       },
       "50ms | cat SF0435800.000 0145900.000 (refused) | notice | 50ms | cat SF0435800.000 0145900.000 | "
       "100ms | cat SF0435900.000 0145900.000 (refused) | notice"},
      // Every digit in its place (each layout's range, an offset's: tests/fuzz/encoder_fuzz.cpp).
      {"IC-821H", [](Partners& f) { radio::SendCatFreq(f.st, 1234567.891, 0); },
       "discard | discard | FE FE 60 E0 07 D1 FD | 50ms | discard | FE FE 60 E0 05 91 78 56 34 12 FD | 151ms | "
       "discard | FE FE 60 E0 07 D1 FD | 50ms | discard"},
      // Yaesu to 10 Hz; in the 1.2 GHz band the hex C stands for "12".
      {"FT-736R", [](Partners& f) { radio::SendCatFreq(f.st, 1296123.45, 123456.789); },
       "50ms | C9 61 23 45 1E | 50ms | 12 34 56 78 2E | 50ms"},
      // rigctld (both frequencies, the uplink first, and a daemon without the VFO mode: HamlibDaemons), each
      // command naming its VFO: without an uplink the receive side alone; its modes at the take-up, asked
      // again whether the VFO mode took while another client's command made the daemon answer 0.
      {"TS-2000", Hamlib("V", {"1"}, Freq(0)), kVfosAsked + "rigctld F Main 435800000"},
      {"TS-2000", Hamlib("V", {"0", "0", "1"}, Modes("CW-N", "SSTV")), Linked(3) + "rigctld M Main CW 0"},
      // Split on VFO A, or on the current VFO of a daemon without the VFO mode.
      {"TS-2000", Hamlib("I", {"1"}, SplitPass),
       kVfosAsked + "rigctld S VFOA 1 VFOB | rigctld X VFOA USB 0 | rigctld M VFOA FM 0 | "
                    "rigctld I VFOA 145800000 | rigctld F VFOA 435800000"},
      {"TS-2000", Hamlib("I", {"0"}, SplitPass),
       Linked(10, false) + "rigctld S 1 VFOB | rigctld X USB 0 | rigctld M FM 0 | rigctld I 145800000 | "
                    "rigctld F 435800000"},
      // Without a port nothing happens at all, not even a wait.
      {"TS-2000", NoPort, ""}, {"FT-847", NoPort, ""}, {"IC-821H", NoPort, ""},
  };
  for (const auto& [model, act, wire] : rows) {
    Partners f(model);
    SCOPED_TRACE(model);
    act(f);
    EXPECT_EQ(f.Timeline(), wire);
  }
}

// A daemon away is told once and tracking goes on; when it is back the modes go out again first. Each new
// link asks for the VFO mode again and goes by its own answer: this daemon comes back without it, not even
// knowing the question.
TEST(HamlibDaemons, FaultsAreToldOnceAndTheLinkIsMadeAgain) {
  Partners f;
  f.st.hamlib.live.RigOn = f.st.hamlib.live.RotOn = "+";
  f.st.tracking.SatActive = 1;
  f.rigNet.running = f.rotNet.running = false;
  Modes("USB", "LSB")(f);
  radio::SendCatFreq(f.st, 435800, 145900);
  f.rot.RotSend = "+";
  f.rot.RotType = 0;  // rotctld takes the place of the rotor interface
  f.rot.RotAz = -3;
  rotor::RotOutput(f.st);
  EXPECT_EQ(f.Timeline(),
            "rigctld connect localhost:4532 (refused) | notice | rotctld connect localhost:4533 (refused) | notice");
  EXPECT_EQ(f.r.LastCatFreq, 0);

  f.rigNet.running = f.rotNet.running = true;
  f.rigNet.answers = {"RPRT -11"};
  f.clock.monotonic += hamlib::kRetrySeconds;
  f.r.IntV = 1000;
  f.r.LastCatFreq = 435800;
  radio::SendCatFreq(f.st, 435800, 145900);
  EXPECT_EQ(f.r.LastCatFreq, 435800);
  rotor::RotOutput(f.st);
  f.rigNet.answers = {"RPRT -11", "RPRT 0", "RPRT 0", "", "RPRT -11", "RPRT -4"};
  // Each downlink a step from the last one sent, until the same record comes again after the link went:
  // the radio found again needs it all the same.
  for (const double down : {435802, 435798, 435800, 435798, 435798}) {
    radio::SendCatFreq(f.st, down, 145900);
    if (down == 435798 && !f.rigNet.IsOpen()) f.clock.monotonic += hamlib::kRetrySeconds;
  }
  EXPECT_EQ(f.Timeline(),
            kVfosAsked + "rigctld M Sub LSB 0 | rigctld M Main USB 0 | rigctld F Sub 145900000 | "
            "rigctld F Main 435800000 | rotctld connect localhost:4533 | rotctld P 357 0 | "
            "rigctld F Sub 145900000 | notice | "  // refused: the link stays
            "rigctld F Sub 145900000 | rigctld F Main 435798000 | "
            "rigctld F Sub 145900000 | notice | " +  // no answer: the link goes, and for a while no new one is tried
            Linked(1, false) + "rigctld V Sub | rigctld M LSB 0 | rigctld V Main | rigctld M USB 0 | "
            "rigctld V Sub | rigctld F 145900000 | rigctld V Main | rigctld F 435798000");
  EXPECT_EQ(f.alerts.notices.size(), 4u);
  EXPECT_EQ(f.alerts.notices.at(2).text.substr(0, 71),
            "Hamlib rigctld (localhost:4532): \"F Sub 145900000\" abgelehnt (RPRT -11)");
}

TEST(CatWait, EndsOnTimeAcrossMidnightWhateverTheSleepsDo) {
  for (const auto& [oversleepMs, undersleepMs] : {std::pair{0, 0}, {15, 0}, {0, 7}}) {
    fakes::FakeStation f;
    f.clock.timeOfDay = 86399.98;
    f.clock.oversleepMs = oversleepMs;
    f.clock.undersleepMs = undersleepMs;
    radio::CatWait(f.clock, 0.05);
    const double waited = f.clock.monotonic - fakes::FakeClock().monotonic;
    EXPECT_GE(waited, 0.05 - 1e-9) << oversleepMs << "/" << undersleepMs;
    // At most a millisecond of rounding beyond what the sleeps overshoot.
    EXPECT_LE(waited, 0.05 + oversleepMs / 1000.0 + 0.0011);
    EXPECT_LE(f.timeline.size(), 10u) << "it sleeps, it does not spin";
  }
  fakes::FakeClock clock;
  for (double s : {0.0, -1.0, std::nan("")}) radio::CatWait(clock, s);
  EXPECT_EQ(clock.monotonic, fakes::FakeClock().monotonic) << "nothing to wait returns at once";
}

// By time: the second record of each cycle; by angle: the first, then each axis past its threshold, leading.
TEST(RotorPositions, GoOutByTimeOrByAngle) {
  using Records = std::vector<std::pair<double, double>>;
  const Records ten = {{1, 10}, {2, 10}, {3, 10}, {4, 10}, {5, 10},
                                                      {6, 10}, {7, 10}, {8, 10}, {9, 10}, {10, 10}};
  const std::tuple<const char*, Records, const char*> rows[] = {
      {"i3", ten, "rotor 2 10 | rotor 6 10 | rotor 10 10"},
      {"i0", ten, ""},
      // 106.5 to even; 107 is then within the threshold of the new reference.
      {"k", {{100, 10}, {104.5, 10}, {107, 10}}, "rotor 100 10 | rotor 106 10"},
      {"k", {{100, 10}, {104, 10}}, "rotor 100 10"},
      {"k", {{358, 10}, {2, 10}}, "rotor 358 10 | rotor 4 10"},
      {"k", {{2, 10}, {357, 10}}, "rotor 2 10 | rotor 355 10"},
      {"k", {{100, 10}, {101, 15}}, "rotor 100 10 | rotor 100 17"},
      // Gain-related, the threshold is 8 at 60 degrees.
      {"g", {{100, 60}, {107.9, 60}}, "rotor 100 60"},
      {"g", {{100, 60}, {108.1, 60}}, "rotor 100 60 | rotor 112 60"},
      // Nothing below the minimum elevation; near the zenith, the threshold of 89 degrees.
      {"g", {{200, 2}, {200.4, 95}, {300, 95}}, "rotor 200 95"},
  };
  for (const auto& [criterion, records, sent] : rows) {
    Partners f;
    const bool byTime = criterion[0] == 'i';
    f.rot.RotMode = byTime ? "i" : "w";
    f.rot.RotIntV = static_cast<int16_t>(byTime ? criterion[1] - '0' : 0);
    f.rot.WinkelOpt = criterion;
    f.rot.MinWin = 4;
    f.rot.RotMinEl = 3;
    for (const auto& [az, el] : records) {
      f.st.tracking.SatAz = az;
      f.st.tracking.SatEl = el;
      rotor::RotDecide(f.st);
    }
    EXPECT_EQ(f.Timeline(), sent) << criterion;
  }
  // Switched on again mid-pass, tracking by angle starts afresh: the first position goes out as it is.
  Partners f;
  f.rot.RotMode = f.rot.WinkelOpt = "w";
  f.rot.MinWin = 4;
  f.rot.RotCount = 1;
  f.rot.RotAzLast = 100;
  rotor::RotorSwitchOn(f.st);
  f.st.tracking.SatAz = 101;
  rotor::RotDecide(f.st);
  EXPECT_EQ(f.Timeline(), "rotor 101 0");
}

// Nothing before a first position, type or link; then offsets, corrections, one fold, whole degrees (to
// Arswin, and a server that fails: end to end).
TEST(RotorOutput, WhatGoesOutAndWhen) {
  Partners f;
  rotor::RotorState& r = f.rot;
  const auto send = [&](double az, double el) {
    r.RotAz = az;
    r.RotEl = el;
    rotor::RotOutput(f.st);
  };
  send(45, 0);
  r.RotSend = "+";
  for (int16_t type : {0, -1}) {
    r.RotType = type;
    send(45, 0);
  }
  r.RotType = 1;
  r.DdeRotor = "-";
  send(45, 0);
  r.DdeRotor = "+";
  send(-3, 10);
  send(360, 10);
  send(12.5, 13.5);
  r.ParkOn = "+";  // when park comes due is pinned by ParkStep.ParkPositionGoesOutOnceAtHalfTheDelay
  r.ParkDelay = 2;
  r.ParkAz = 180;
  r.ParkEl = 5;
  rotor::ParkStep(f.st);
  r.RotAzOffset = 5;
  r.RotElOffset = 1;
  r.RotAzKorr = -1;
  r.RotElKorr = 1;
  send(90, 45);
  send(357, -5);
  EXPECT_EQ(f.Timeline(), "rotor 357 10 | rotor 360 10 | rotor 12 14 | rotor 180 5 | rotor 94 47 | rotor 1 0");
}

TEST(RotorDialog, OpensWithTheValuesInUseTakesEachKeystrokeAndOkWritesThePark) {
  Partners f;
  f.rot.ParkAz = 12.5;  // from the file: the box stores it as a whole number
  f.rot.ParkEl = 95;  // out of range, told at start: kept, and opening the dialog makes no sound
  f.rot.ParkDelay = 7;
  f.rot.RotAzKorr = -3;
  ui::MenuClick(f.st, ui::AusGabeForm().menus[1]);
  EXPECT_EQ(f.st.rotorForm.edAzP.text + f.st.rotorForm.lblAZwert.caption, " 12.5    -3");
  EXPECT_EQ(f.rot.ParkAz + f.rot.ParkEl, 12 + 95);
  EXPECT_EQ(f.alerts.beeps, 0);
  // Out of range: a beep, and the value before stays; the same text again is no change.
  for (const char* typed : {"3", "36", "365", "365"}) f.rotorDialog.Type("edAzP", typed);
  f.rotorDialog.Type("edZeitP", "1001");
  EXPECT_EQ(f.rot.ParkAz + f.rot.ParkDelay, 36 + 7);
  EXPECT_EQ(f.alerts.beeps, 2);
  f.rotorDialog.Type("edAzP", "360");
  f.rotorDialog.Type("edElP", "90");
  f.rotorDialog.Type("edZeitP", "1000");
  EXPECT_EQ(std::tuple(f.rot.ParkAz, f.rot.ParkEl, f.rot.ParkDelay), std::tuple(359.9, 90, 1000));
  EXPECT_EQ(f.alerts.beeps, 2) << "each bound itself is taken";

  f.rotorDialog.Type("edZeitP", "");
  f.rotorDialog.Press("cmdOK");
  EXPECT_EQ(f.alerts.beeps, 3);
  EXPECT_TRUE(f.st.rotorForm.visible) << "an empty box keeps the dialog open";
  EXPECT_TRUE(f.files.writes.empty());
  f.rotorDialog.Type("edAzP", "12");
  f.rotorDialog.Type("edZeitP", "9");
  f.rotorDialog.Press("cmdOK");
  EXPECT_EQ(f.Own("DDEParkPos.SQF"), " 12\r\n 90\r\n 9\r\n");
}

// Not before the start-up has finished (what a direction does besides: end to end).
TEST(RotorDialog, AStandardDirectionWaitsForTheStartUp) {
  Partners f;
  f.rot.StandCount = 2;
  f.rot.StandAz[2] = 90;
  f.st.rotorForm.lstStandR.items = {"Nord", "Ost"};
  f.rot.RotEl = 30;  // where the pass left it
  f.rotorDialog.Choose("lstStandR", 1);
  EXPECT_EQ(f.Timeline(), "");
  f.st.StartDone = "+";
  f.rotorDialog.Choose("lstStandR", 1);
  f.rotorDialog.Choose("lstStandR", 2);  // a row the list does not have
  EXPECT_EQ(f.Timeline(), "rotor 90 0");
}

TEST(RotorDialog, CorrectionSpinsStepByDirectionAndStopOneBeyondTheirBound) {
  Partners f;
  f.rotorDialog.Spin("ScrollAz", +1);  // before a first position: only the label
  EXPECT_EQ(f.st.rotorForm.lblAZwert.caption, "    1");
  EXPECT_EQ(f.Timeline(), "");
  f.rot.RotSend = "+";
  f.rot.RotAz = 100;
  f.rot.RotAzKorr = 88;
  for (int i = 0; i < 5; ++i) f.rotorDialog.Spin("ScrollAz", +1);
  f.rotorDialog.Spin("ScrollAz", -1);
  EXPECT_EQ(f.Timeline(), "rotor 189 0 | rotor 190 0 | rotor 191 0 | rotor 190 0")
      << "each step sends the target; back from its end always";
}

// Runs it: the timeline to the end of the program, after whether the window position was stored.
std::string Quit(Partners& q) {
  try {
    app::menQuit_Click(q.st);
    q.timeline.push_back("returned");
  } catch (const fakes::ProgramEnded& end) {
    q.timeline.push_back("end " + std::to_string(end.exitCode));
  }
  const bool stored = q.files.writes == Lines{std::string(q.kSkylet) + "SkyletPos.SQF"};
  return (stored ? "" : "nothing stored | ") + q.Timeline();
}

// A failing step is skipped; what happens while a message is shown starts no second sequence or pull.
TEST(QuitSequence, LeavesEachRadioAndLinkSetUpDefined) {
  const Act none = [](Partners&) {};
  const std::tuple<const char*, const char*, Act, std::string> rows[] = {
      {"FT-736R", "FT-736R", none, "80 80 80 80 80 | rotor Close | 1000ms | port closed"},
      {"CAT off", "FT-736R", [](Partners& q) { q.r.CatOn = "-"; }, "rotor Close | 1000ms | port closed"},
      // The CAT server drives the radio: the port is neither written nor closed, even for a Kenwood,
      {"CAT server", "TS-2000", [](Partners& q) { q.r.DdeCat = "+"; }, "cat RaClose | rotor Close | 1000ms"},
      // but a port the start-up opened for an IC-910H still takes its frame.
      {"CAT server, IC-910H", "IC-910H", [](Partners& q) { q.r.DdeCat = "+"; },
       "FE FE 60 E0 1A 07 00 FD | 50ms | cat RaClose | rotor Close | 1000ms"},
      {"Arswin", "TS-2000", [](Partners& q) { q.st.ServerName = "ARSWIN"; }, "SA0010000; | port closed"},
      {"rotor not through a server", "TS-790", [](Partners& q) { q.rot.DdeRotor = "-"; }, "port closed"},
      {"rotor server refuses", "TS-2000", [](Partners& q) { q.rotorLink.acceptCommands = false; },
       "rotor Close (refused) | 1000ms | SA0010000; | port closed"},
      {"radio writes fail", "IC-910H", [](Partners& q) { q.port.failWrites = true; },
       "FE FE 60 E0 1A 07 00 FD (failed) | 50ms | rotor Close | 1000ms | port closed"},
      {"no serial radio", "IC-910H", [](Partners& q) { q.port.Close(); q.timeline.clear(); },
       "rotor Close | 1000ms"},
      // A position that is no place to come back to is not stored; the one stored before stays.
      {"minimised", "TS-790", [](Partners& q) { q.st.main.windowState = forms::WindowState::Minimized; },
       "nothing stored | rotor Close | 1000ms | port closed"},
      {"maximised", "TS-790", [](Partners& q) { q.st.main.windowState = forms::WindowState::Maximized; },
       "nothing stored | rotor Close | 1000ms | port closed"},
      {"position not stored, quit again meanwhile", "IC-910H",
       [](Partners& q) {
         q.files.failWrites = true;
         q.alerts.meanwhile = [&q] {
           ui::AusGabe::Form_QueryUnload(q.st);
           ui::AusGabe::menQuit_Click(q.st);
           ui::AusGabe::Timer1_Timer(q.st);
         };
       },
       "nothing stored | message | FE FE 60 E0 1A 07 00 FD | 50ms | rotor Close | 1000ms | port closed"},
  };
  for (const auto& [name, model, setUp, timeline] : rows) {
    Partners q(model);
    q.clock.timeOfDay = 86399.5;  // the one-second wait passes midnight
    setUp(q);
    EXPECT_EQ(Quit(q), timeline + " | end 0") << name;
    EXPECT_TRUE(q.avor.log.empty()) << name << ": a record was pulled during the quit";
  }
}

}  // namespace
}  // namespace skylet
