#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "traffic/day_log.h"
#include "traffic/recording.h"

namespace skylet::traffic {
namespace {

TEST(TrafficLines, FramesAsHexTextAsItStandsEachLineOnItsDay) {
  struct Row {
    std::string bytes, content;
  } rows[] = {{"FA00435800000;", "FA00435800000;"},
              {"RPRT 0\n", "RPRT 0"},
              {std::string("\xFE\xFE\x60\xE0\x05\x00\x00\x80\x35\x04\xFD", 11), "FE FE 60 E0 05 00 00 80 35 04 FD"},
              {std::string("\x43\x58\x00\x00\x01", 5), "43 58 00 00 01"},
              {"FA;\x7F", "46 41 3B 7F"}};
  for (const Row& row : rows) EXPECT_EQ(Content(row.bytes), row.content) << row.content;
  EXPECT_EQ(Text("SNAO-7\tAZ10\x7F\r"), "SNAO-7<09>AZ10<7F>");
  EXPECT_EQ(Format({86399.9996, Link::Radio, Way::Out, "FA;"}), "23:59:59.999  Funkger\xe4t  ->  FA;");
  EXPECT_EQ(Format({3723.5, Link::Rigctld, Way::In, "RPRT 0"}), "01:02:03.500  rigctld    <-  RPRT 0");
}

TEST(TrafficLines, TheRingKeepsTheNewestWithinItsBound) {
  fakes::FakeClock clock;
  Traffic traffic(clock, 3);
  for (int i = 1; i <= 5; ++i) traffic.Record(Link::Rotor, Way::Out, std::to_string(i));
  const Ring& ring = traffic.ring();
  EXPECT_EQ(ring.Size(), 3u);
  EXPECT_EQ(ring.At(0).content + ring.At(2).content, "35");
  EXPECT_EQ(ring.Added(), 5u);
}

struct LogRig {
  LogRig() {
    traffic.SetSink(&log);
    log.SetOn(true, "V");
  }
  void Line(const std::string& text) { traffic.Record(Link::Radio, Way::Out, text); }
  std::string Day(const std::string& day) { return file.files["V\\Verkehr-" + day + ".txt"]; }
  fakes::FakeClock clock;
  fakes::FakeAlerts alerts;
  fakes::FakeAppendFile file;
  Traffic traffic{clock};
  DayLog log{file, clock, alerts};
};

TEST(TrafficLog, WrittenAtFlushOneFilePerDay) {
  LogRig r;
  r.Line("FA00435800000;");
  EXPECT_EQ(r.Day("2026-12-09"), "") << "gathered, not written with each line";
  r.log.Flush();
  EXPECT_EQ(r.Day("2026-12-09"), "12:00:00.000  Funkger\xe4t  ->  FA00435800000;\r\n");
  r.Line("FB;");
  r.clock.today = "2026-12-10";
  r.Line("FA;");
  r.log.Flush();
  EXPECT_EQ(r.Day("2026-12-09").size(), 45u + 34u) << "the day's last line in its own file";
  EXPECT_EQ(r.Day("2026-12-10"), "12:00:00.000  Funkger\xe4t  ->  FA;\r\n");
}

TEST(TrafficLog, ADayStopsAtItsCapAndALogThatFailsIsToldOnceAndOff) {
  LogRig r;
  // Two lines of 34 bytes fill the day to its cap exactly; the third is one too many.
  r.file.files["V\\Verkehr-2026-12-09.txt"] = std::string(kDayCapBytes - 68, 'x');
  for (const char* line : {"FA;", "FB;", "FA;", "FB;"}) r.Line(line);
  r.log.Flush();
  const std::string day = r.Day("2026-12-09").substr(kDayCapBytes - 68);
  EXPECT_EQ(day, "12:00:00.000  Funkger\xe4t  ->  FA;\r\n12:00:00.000  Funkger\xe4t  ->  FB;\r\n12:00:00.000  Skylet  "
                 "   --  Tagesgrenze von 20 MB erreicht: bis Mitternacht wird nichts mehr aufgezeichnet.\r\n");
  r.clock.today = "2026-12-10";
  r.Line("FB;");
  r.log.Flush();
  EXPECT_EQ(r.Day("2026-12-10"), "12:00:00.000  Funkger\xe4t  ->  FB;\r\n") << "a new day under its own cap";
  for (const bool atOpen : {true, false}) {
    LogRig f;
    (atOpen ? f.file.failOpen : f.file.failAppend) = true;
    f.Line("FA;");
    f.log.Flush();
    f.Line("FB;");
    f.log.Flush();
    ASSERT_EQ(f.alerts.notices.size(), 1u) << atOpen;
    EXPECT_NE(f.alerts.notices[0].text.find("V kann nicht geschrieben werden"), std::string::npos);
    EXPECT_FALSE(f.log.On());
    EXPECT_EQ(f.traffic.ring().Size(), 2u) << "the record goes on";
  }
}

TEST(TrafficRecording, EveryCallPassedOnUnchangedAndRecordedAsItWent) {
  fakes::FakeClock clock;
  Traffic traffic(clock);
  fakes::FakeSerialPort port;
  RecordingSerialPort rec(port, traffic);
  const std::string frame("\xFE\xFE\x60\xE0\x03\xFD", 6);
  port.farEnd = [&](const std::string& w) { return w + std::string("\xFE\xFE\xE0\x60\xFB\xFD", 6); };
  std::string error;
  rec.SetCommPort(3);
  EXPECT_TRUE(rec.Open(error) && rec.Output(frame) && port.writes == std::vector<std::string>{frame});
  rec.DiscardInput();
  EXPECT_EQ(rec.Input(), "");
  port.failWrites = true;
  EXPECT_FALSE(rec.Output("FA;"));
  fakes::FakeDdeLink dde;
  RecordingDdeLink rotor(dde, traffic, Link::Rotor);
  EXPECT_TRUE(rotor.Open({"RotServer", "RotServConv", "", 20}) && rotor.Execute("RotServConv 48 10"));
  dde.acceptCommands = false;
  EXPECT_FALSE(rotor.Execute("ClientOff"));
  rotor.Close();
  fakes::FakeNetLink net;
  net.answers = {"RPRT 0", ""};
  RecordingNetLink rig(net, traffic, Link::Rigctld);
  EXPECT_TRUE(rig.Connect("localhost", 4532, 100, error) && rig.Transact("F Main 435800000", 100, error));
  EXPECT_FALSE(rig.Transact("f Main", 100, error));
  fakes::FakeAlerts boxes;
  RecordingAlerts told(boxes, traffic);
  told.Notify("Kein Rotor.\rSkylet macht weiter.", "Skylet");
  std::vector<std::string> lines;
  for (size_t i = 0; i < traffic.ring().Size(); ++i) lines.push_back(Format(traffic.ring().At(i)).substr(14));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "Funkger\xe4t  --  COM3 offen", "Funkger\xe4t  ->  FE FE 60 E0 03 FD",
                       "Funkger\xe4t  <-  FE FE 60 E0 03 FD FE FE E0 60 FB FD",
                       "Funkger\xe4t  ->  FA;  (nicht geschrieben)", "Rotor      --  verbunden: RotServer|RotServConv",
                       "Rotor      ->  RotServConv 48 10", "Rotor      ->  ClientOff  (nicht best\xe4tigt)",
                       "Rotor      --  getrennt", "rigctld    --  verbunden: localhost:4532",
                       "rigctld    ->  F Main 435800000", "rigctld    <-  RPRT 0", "rigctld    ->  f Main",
                       "rigctld    --  no answer", "Skylet     --  Kein Rotor. / Skylet macht weiter."}));
  EXPECT_EQ(boxes.notices.at(0).text, "Kein Rotor.\rSkylet macht weiter.") << "passed on as it was";
}

}  // namespace
}  // namespace skylet::traffic
