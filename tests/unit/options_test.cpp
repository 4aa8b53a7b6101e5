// Skylet's own options: the dialog and its file, the corrections remembered across runs.
#include <gtest/gtest.h>

#include <string>

#include "app/shutdown.h"
#include "app/startup.h"
#include "fakes/fakes.h"
#include "settings/korr_file.h"
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
    if (told.find("aufbewahrt") != std::string::npos) EXPECT_EQ(r.Own("SkyletKorr-defekt.SQF"), row.korr);
    r.files.failWrites = row.failWrites;
    r.Take("AO-7", "USB");
    EXPECT_EQ(r.st.main.lblKorr.text, row.shown);
    r.Keys(39, 1);
    r.Tick(3);
    r.Keys(39, 1);
    r.Tick(3);
    EXPECT_THROW(app::menQuit_Click(r.st), fakes::ProgramEnded);
    EXPECT_EQ(r.KorrWrites(), row.writes);
    if (row.writes > 0) EXPECT_EQ(r.Own(kKorr), "L," + std::to_string(std::stoi(row.shown) + 200) + ",*,AO-7\r\n");
    EXPECT_EQ(r.alerts.notices.size(), row.failWrites ? 1u : 0u) << "a failing write is told once";
    if (row.unreadable) EXPECT_EQ(r.files.files[r.kSkylet + std::string(kKorr)], row.korr) << "not replaced";
  }
}

TEST(OptionenDialog, FromTheSystemMenuOkStoresAndSwitchesCancelKeeps) {
  Operated r;
  r.Skylet(kKorr, "L,300,*,AO-7\r\n");
  r.Skylet(settings::kOptionsFile, "-\r\n");
  r.Start();
  const fakes::Operator dlg = r.At(ui::OptionenForm());
  ui::MenuClick(r.st, ui::AusGabeForm().systemMenu[0]);
  EXPECT_TRUE(r.st.optionen.visible);
  EXPECT_EQ(r.st.optionen.chkKorrMerken.value, 0);
  dlg.Press("chkKorrMerken");
  dlg.Press("cmdCancel");
  EXPECT_EQ(r.st.options.KorrMerken + r.Own(settings::kOptionsFile), "--\r\n");
  ui::MenuClick(r.st, ui::AusGabeForm().systemMenu[0]);
  dlg.Press("chkKorrMerken");
  r.files.failWrites = true;
  dlg.Press("cmdOK");
  EXPECT_TRUE(r.st.optionen.visible) << "a file not written keeps the dialog";
  r.files.failWrites = false;
  dlg.Press("cmdOK");
  EXPECT_EQ(r.Own(settings::kOptionsFile), "+\r\n");
  EXPECT_FALSE(r.st.optionen.visible);
  r.Take("AO-7", "USB");
  EXPECT_EQ(r.st.main.lblKorr.text, "300") << "switched on, the file is read";
}

}  // namespace
}  // namespace skylet
