// Skylet's own options: the dialog and its file, the corrections remembered across runs.
#include <gtest/gtest.h>

#include <string>

#include "app/shutdown.h"
#include "app/startup.h"
#include "fakes/fakes.h"
#include "settings/readers.h"
#include "tracking/parse_record.h"
#include "ui/ausgabe_form.h"
#include "ui/form_events.h"
#include "ui/optionen_form.h"

namespace skylet {
namespace {

constexpr const char* kKorr = "SkyletKorr.SQF";

std::string Pass(const std::string& name, const std::string& mode) {
  return "SN" + name + " AZ10 EL5 UP145950000 UM" + mode + " DN435800000 DM" + mode + " MA1\r";
}

// A complete station started from its files, then tracking through Timer1.
struct Operated : fakes::FakeStation {
  Operated() { WriteCompleteProfile(); }
  void Start() { app::StartUp(st); }
  void Take(const std::string& name, const std::string& mode) {
    tracking::ParseRecord(st, "**\r");
    tracking::ParseRecord(st, last = Pass(name, mode));
  }
  void Keys(int key, int times) {
    for (int i = 0; i < times; ++i) ui::AusGabe::picFocus_KeyDown(st, key, 0);
  }
  void Tick(double seconds) {
    clock.monotonic += seconds;
    avor.open_ = true;
    avor.answers.push_back(last);
    ui::AusGabe::Timer1_Timer(st);
  }
  int KorrWrites() const { return static_cast<int>(std::ranges::count(files.writes, kSkylet + std::string(kKorr))); }
  std::string last;
};

TEST(RememberedKorr, EachNameAndKindGetsItsOwnAndAChangeIsWrittenOnceAMomentLater) {
  Operated r;
  r.Skylet(kKorr, "; von Skylet\r\nL,300,*,AO-7 B\r\nF,-120,n,AO-7 B\r\nL,100,*,FO-29\r\n");
  r.Start();
  EXPECT_TRUE(r.alerts.boxes.empty());
  r.Take("AO-7 B", "USB");
  EXPECT_EQ(r.st.main.lblKorr.text + " " + r.st.main.edRX.text, "300 435800.300") << "shown and sent at once";
  r.Take("AO-7 B", "FM");
  EXPECT_EQ(r.st.main.lblKorr.text, "-120") << "the FM repeater has its own";
  r.Take("AO-7 B", "LSB");
  r.Keys(39, 3);
  r.Tick(1);
  EXPECT_EQ(r.KorrWrites(), 0) << "not one write per key";
  r.Keys(39, 1);
  r.Tick(1.5);
  EXPECT_EQ(r.KorrWrites(), 1);
  EXPECT_EQ(r.Own(kKorr), "F,-120,n,AO-7 B\r\nL,700,*,AO-7 B\r\nL,100,*,FO-29\r\n");
  r.Tick(5);
  EXPECT_EQ(r.KorrWrites(), 1) << "nothing new, nothing written";
  r.Take("FO-29", "CW");
  r.Keys(37, 1);
  r.Tick(0.5);
  EXPECT_THROW(app::menQuit_Click(r.st), fakes::ProgramEnded);
  EXPECT_EQ(r.Own(kKorr), "F,-120,n,AO-7 B\r\nL,700,*,AO-7 B\r\n") << "kept at the quit; 0 leaves the file";

  // The next run: each satellite starts where it was left.
  Operated next;
  next.Skylet(kKorr, r.Own(kKorr));
  next.Start();
  next.Take("AO-7 B", "USB");
  EXPECT_EQ(next.st.main.lblKorr.text, "700");
  next.Take("FO-29", "CW");
  EXPECT_EQ(next.st.main.lblKorr.text, "0");
}

// Off: the documented program, whatever the file holds; a bad file is told, kept and not lost.
TEST(RememberedKorr, OffBadUnreadableOrUnwritable) {
  const std::string good = "L,300,*,AO-7\r\n";
  struct Row {
    const char* what;
    std::string options, korr;
    bool unreadable, failWrites;
    const char* shown;  // lblKorr at the take-up
    const char* told;   // in the start's message; "" none
    int writes;         // of SkyletKorr.SQF: two steps, each a moment before a tick, then the quit
  };
  const Row rows[] = {
      {"off", "-\r\n", good, false, false, "0", "", 0},
      {"a bad line", "+\r\n", good + "L,3x0,*,FO-29\r\n", false, false, "0",
       "SkyletKorr.SQF: Zeile 2 ist keine Korrektur: \"L,3x0,*,FO-29\"; alle Korrekturen beginnen bei 0, "
       "die Datei ist als SkyletKorr-defekt.SQF aufbewahrt", 2},
      {"beyond a step's reach", "", "L,11002,*,AO-7\r\n", false, false, "0", "Zeile 1 ist keine Korrektur", 2},
      {"unreadable", "+\r\n", good, true, false, "0",
       "SkyletKorr.SQF: Datei kann nicht gelesen werden; die Korrekturen beginnen bei 0 und werden in diesem Lauf "
       "nicht gespeichert", 0},
      {"a full disk", "", good, false, true, "300", "", 0},
      {"a bad option", "x\r\n", good, false, false, "300", "SkyletOptionen.SQF: \"x\" ist weder + noch -", 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Operated r;
    if (!row.options.empty()) r.Skylet(settings::kOptionsFile, row.options);
    r.Skylet(kKorr, row.korr);
    if (row.unreadable) r.files.unreadable = r.kSkylet + std::string(kKorr);
    r.Start();
    const std::string told = r.alerts.boxes.empty() ? "" : r.alerts.boxes[0].text;
    EXPECT_TRUE(std::string(row.told).empty() ? told.empty() : told.find(row.told) != std::string::npos) << told;
    if (told.find("aufbewahrt") != std::string::npos) { EXPECT_EQ(r.Own("SkyletKorr-defekt.SQF"), row.korr); }
    r.files.failWrites = row.failWrites;
    r.Take("AO-7", "USB");
    EXPECT_EQ(r.st.main.lblKorr.text, row.shown);
    r.Keys(39, 1);
    r.Tick(3);
    r.Keys(39, 1);
    r.Tick(3);
    EXPECT_THROW(app::menQuit_Click(r.st), fakes::ProgramEnded);
    EXPECT_EQ(r.KorrWrites(), row.writes);
    if (row.writes > 0) { EXPECT_EQ(r.Own(kKorr), "L," + std::to_string(std::stoi(row.shown) + 200) + ",*,AO-7\r\n"); }
    EXPECT_EQ(r.alerts.notices.size(), row.failWrites ? 1u : 0u) << "a failing write is told once";
    if (row.unreadable) { EXPECT_EQ(r.files.files[r.kSkylet + std::string(kKorr)], row.korr) << "not replaced"; }
  }
}

TEST(OptionenDialog, FromTheSystemMenuOkStoresAndSwitchesCancelKeeps) {
  Operated r;
  r.Skylet(kKorr, "L,300,*,AO-7\r\n");
  r.Skylet(settings::kOptionsFile, "-\r\n+\r\n");
  r.Start();
  const fakes::Operator dlg = r.At(ui::OptionenForm());
  ui::MenuClick(r.st, ui::AusGabeForm().systemMenu[0]);
  EXPECT_TRUE(r.st.optionen.visible && !r.st.optionen.lblDialHinweis.visible) << "a Kenwood reads its dial";
  EXPECT_EQ(std::pair(r.st.optionen.chkKorrMerken.value, r.st.optionen.chkDialFolgen.value), std::pair(0, 1));
  dlg.Press("chkKorrMerken");
  dlg.Press("cmdCancel");
  EXPECT_EQ(r.st.options.KorrMerken + r.Own(settings::kOptionsFile), "--\r\n+\r\n");
  r.st.radio.DdeCat = "+";
  ui::MenuClick(r.st, ui::AusGabeForm().systemMenu[0]);
  EXPECT_TRUE(r.st.optionen.lblDialHinweis.visible) << "the CAT server has no read";
  r.st.radio.DdeCat = "-";
  dlg.Press("chkKorrMerken");
  dlg.Press("chkVerkehrDatei");
  r.files.failWrites = true;
  dlg.Press("cmdOK");
  EXPECT_TRUE(r.st.optionen.visible) << "a file not written keeps the dialog";
  r.files.failWrites = false;
  dlg.Press("cmdOK");
  EXPECT_EQ(r.Own(settings::kOptionsFile), "+\r\n+\r\n+\r\n");
  EXPECT_FALSE(r.st.optionen.visible);
  r.traffic.Record(traffic::Link::Radio, traffic::Way::Out, "FA;");
  r.Tick(1);
  EXPECT_EQ(r.trafficFile.files[r.kSkylet + std::string("Verkehr\\Verkehr-2026-12-09.txt")].substr(14),
            "Funkger\xe4t  ->  FA;\r\n") << "the traffic log switched on, written with the tick";
  r.Take("AO-7", "USB");
  EXPECT_EQ(r.st.main.lblKorr.text, "300") << "switched on, the file is read";
  // The uplink's sense for the satellite in view, kept with its correction.
  ui::MenuClick(r.st, ui::AusGabeForm().systemMenu[0]);
  EXPECT_EQ(r.st.optionen.frSinn.caption, " Uplink beim Drehen: AO-7 ");
  dlg.Press("optSinn", 2);
  dlg.Press("cmdOK");
  r.Tick(3);
  EXPECT_EQ(r.Own(kKorr), "L,300,n,AO-7\r\n");
}


// A radio's receive VFO with a knob, in the Kenwood, CI-V or Yaesu command set: it keeps what it is set to and
// answers its frequency read as the row says.
struct Knob {
  enum class Answer { Dial, Transmit, Moving, Silent, Garbage } answer = Answer::Dial;
  char family = 'K';
  long long rx = 0, tx = 0;
  int reads = 0;
  static long long Bcd(std::string_view bytes, bool lowFirst) {
    long long v = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
      const auto b = static_cast<uint8_t>(bytes[lowFirst ? bytes.size() - 1 - i : i]);
      v = v * 100 + (b >> 4) * 10 + (b & 15);
    }
    return v;
  }
  static std::string ToBcd(long long v, int bytes, bool lowFirst) {
    std::string out(bytes, '\0');
    for (int i = 0; i < bytes; ++i, v /= 100) out[lowFirst ? i : bytes - 1 - i] = static_cast<char>((v % 100 / 10) << 4 | v % 10);
    return out;
  }
  // rigctld in its VFO mode: "F Main 435800000", "f Main".
  std::string Daemon(const std::string& line) {
    if (line == "\\chk_vfo") return "1";
    if (line == "f Main") return answer == Answer::Silent ? "" : answer == Answer::Garbage ? "RPRT -1" : Read();
    if (line.starts_with("F ")) (line[2] == 'M' ? rx : tx) = std::stoll(line.substr(line.rfind(' ') + 1));
    return "RPRT 0";
  }
  std::string Reply(const std::string& w) {
    if (w == "FA;" || w == std::string("\xFE\xFE\x60\xE0\x03\xFD", 6) || w == std::string("\0\0\0\0\x13", 5)) return Read();
    if (w.size() == 14 && w[0] == 'F') (w[1] == 'A' ? rx : tx) = std::stoll(w.substr(2, 11));
    if (w.size() == 5 && (w[4] == '\x1E' || w[4] == '\x2E')) (w[4] == '\x1E' ? rx : tx) = Bcd(w.substr(0, 4), false) * 10;
    if (w.size() == 11 && w[4] == '\x05') {
      (w[2] == '\x60' ? rx : tx) = Bcd(w.substr(5, 5), true);
      return w + std::string("\xFE\xFE\xE0\x60\xFB\xFD", 6);
    }
    return "";
  }
  std::string Read() {
    ++reads;
    const std::string echo("\xFE\xFE\x60\xE0\x03\xFD", 6);
    if (answer == Answer::Silent) return family == 'I' ? echo : "";
    if (answer == Answer::Garbage) return family == 'K' ? "FA0043580;" : family == 'I' ? echo + "\xFE\xFE\xE0\x60\x03\x99\xFD" : "\x4A\x58";
    const long long hz = answer == Answer::Transmit ? tx : rx + (answer == Answer::Moving ? 100 * reads : 0);
    if (family == 'K') return "FA" + std::string(11 - std::to_string(hz).size(), '0') + std::to_string(hz) + ";";
    if (family == 'H') return std::to_string(hz);
    if (family == 'Y') return ToBcd(hz / 10, 4, false) + '\0';  // and the mode byte
    // The query's echo, the radio's own report of its dial to everyone and another radio's answer come first.
    return echo + std::string("\xFE\xFE\x00\x60\x00", 5) + ToBcd(hz, 5, true) + "\xFD" +
           std::string("\xFE\xFE\xE0\x5E\x03\x00\x00\x00\x45\x01\xFD", 11) + "\xFE\xFE\xE0\x60\x03" +
           ToBcd(hz, 5, true) + "\xFD";
  }
};

// A turn of +1000 Hz on a linear pass: the downlink follows it, the uplink against it or, same sideband, with
// it. What may look like a turn is none; an FM pass and the option off ask nothing.
TEST(DialFollowed, ATurnMovesBothFrequenciesWhatLooksLikeOneMovesNothing) {
  using A = Knob::Answer;
  struct Row {
    const char* what;
    const char* model;
    const char *dm, *um;
    A answer;
    long long rx, tx;  // as the radio was set last, after the turn's record
    int reads;
    const char* option = "+";
  };
  const Row rows[] = {
      {"inverting", "TS-2000", "LSB", "USB", A::Dial, 435801200, 145949000, 2},
      {"same sideband", "TS-2000", "USB", "USB", A::Dial, 435801200, 145951000, 2},
      {"CI-V, reports and other radios passed over", "IC-910H", "LSB", "USB", A::Dial, 435801200, 145949000, 2},
      {"FM", "TS-2000", "FM", "FM", A::Dial, 435800200, 145950000, 0},
      {"off", "IC-910H", "LSB", "USB", A::Dial, 435800200, 145950000, 0, "-"},
      {"a read of the transmit side", "TS-2000", "LSB", "USB", A::Transmit, 435800200, 145950000, 1},
      {"Yaesu, to 10 Hz", "FT-847", "LSB", "USB", A::Dial, 435801200, 145949000, 2},
      {"rigctld", "Hamlib", "LSB", "USB", A::Dial, 435801200, 145949000, 2},
      {"rigctld silent: the daemon's outage", "Hamlib", "LSB", "USB", A::Silent, 435801000, 145950000, 0},
      {"the FT-736R cannot be read", "FT-736R", "LSB", "USB", A::Dial, 435800200, 145950000, 0},
      {"a knob still moving: nothing sent over it", "IC-910H", "LSB", "USB", A::Moving, 435801000, 145950000, 2},
      {"no answer", "TS-2000", "LSB", "USB", A::Silent, 435800200, 145950000, 1},
      {"an answer cut short", "IC-910H", "LSB", "USB", A::Garbage, 435800200, 145950000, 1},
      {"a Yaesu answer of no digits", "FT-847", "LSB", "USB", A::Garbage, 435800200, 145950000, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    fakes::FakeStation f;
    const std::string model = row.model;
    Knob knob{row.answer, model[0] == 'T' ? 'K' : model[0] == 'I' ? 'I' : model[0] == 'H' ? 'H' : 'Y'};
    f.port.farEnd = [&knob](const std::string& w) { return knob.Reply(w); };
    f.rigNet.farEnd = [&knob](const std::string& line) { return knob.Daemon(line); };
    f.SerialRadio(knob.family == 'K' ? "Kenwood" : knob.family == 'I' ? "Icom" : "Yaesu", model);
    if (knob.family == 'H') f.st.hamlib.live.RigOn = "+";
    f.st.radio.CatOn = "+";
    f.st.radio.IntV = 100;
    f.st.options.DialFolgen = row.option;
    // The downlink's Doppler moves it a step with every record.
    const auto pass = [&row](int n) {
      return "SNAO-7 AZ10 EL5 UP145950000 UM" + std::string(row.um) + " DN" + std::to_string(435800000 + 200 * n) +
             " DM" + row.dm + " MA1\r";
    };
    tracking::ParseRecord(f.st, pass(0));
    EXPECT_EQ(std::pair(knob.rx, knob.reads), std::pair(435800000LL, 0)) << "nothing of Skylet's on the VFO to compare";
    knob.rx += 1000;
    tracking::ParseRecord(f.st, pass(1));
    EXPECT_EQ(std::tuple(knob.rx, knob.tx, knob.reads), std::tuple(row.rx, row.tx, row.reads));
    if (row.answer == A::Dial && knob.family == 'K' && row.reads == 2) {
      EXPECT_NE(f.Timeline().find("FA; | FA00435801200;"), std::string::npos) << "no wait for a turn to slip in";
    }
    tracking::ParseRecord(f.st, pass(2));
    EXPECT_EQ(f.alerts.notices.size(), row.answer == A::Silent || row.answer == A::Garbage || model == "FT-736R" ? 1u : 0u)
        << "no answer, once an outage; no read, once a run";
    if (row.reads == 2 && row.answer == A::Dial) {
      EXPECT_EQ(std::pair(f.st.main.edRX.text, knob.reads), std::pair(std::string("435801.400"), 3))
          << "the boxes show what the radio got; the offset taken, the next reading is no turn";
      tracking::ParseRecord(f.st, "**\r");
      tracking::ParseRecord(f.st, pass(3));
      EXPECT_EQ(knob.rx, 435800600) << "the offset belongs to the pass";
    }
  }
}

}  // namespace
}  // namespace skylet
