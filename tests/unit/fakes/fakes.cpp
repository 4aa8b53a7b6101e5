#include "fakes/fakes.h"

#include <algorithm>
#include <cmath>

#include "radio/link_setup.h"

namespace skylet::fakes {

platform::FileRead FakeFileStore::Read(const std::string& path) {
  if (unreadable.count(path)) return {platform::FileRead::Status::Unreadable, {}};
  auto it = files.find(path);
  if (it == files.end()) return {platform::FileRead::Status::Missing, {}};
  return {platform::FileRead::Status::Ok, it->second};
}

bool FakeFileStore::Write(const std::string& path, const std::string& bytes, std::string& error) {
  if (failWrites) {
    error = "Nicht gen\xfcgend Speicherplatz auf dem Datentr\xe4ger.";
    return false;
  }
  files[path] = bytes;
  writes.push_back(path);
  return true;
}

double FakeClock::SecondsSinceMidnight() { return std::fmod(timeOfDay, 86400.0); }

void FakeClock::SleepMs(int milliseconds) {
  sleeps.push_back(milliseconds);
  if (events) events->push_back("sleep " + std::to_string(milliseconds));
  // An early wake-up still lets at least a millisecond pass.
  const int ms = std::max(1, milliseconds + oversleepMs - undersleepMs);
  monotonic += ms / 1000.0;
  timeOfDay += ms / 1000.0;
}

void FakeStation::WriteCompleteProfile() {
  Vantrak("TRX.SQF", "Kenwood\r\n");
  Vantrak("SatIni.SQF",
          "Station\r\nJN58\r\n48.1\r\n11.6\r\n 3\r\n 50\r\n 2\r\n 7\r\nN\r\n 5\r\n 1.5\r\n-2\r\nx\r\n"
          "x\r\n");
  Vantrak("ParPort.SQF", "; LPT-Adressen\r\n$378\r\n$278\r\n");
  Vantrak("YaesuPar.SQF", "$01\r\n$11\r\n4800\r\nFT-847\r\n");
  Vantrak("KenwoodPar.SQF", "TS-2000\r\n9600\r\n0000000\r\n");
  Vantrak("IcomPar.SQF", "9600\r\n$60\r\n$60\r\n$5E\r\n$5E\r\n");
  Vantrak("IcomName.SQF", "IC-910H\r\n");
  Vantrak("StandPos.SQF", "; Standardrichtungen\r\nNord,0\r\nOst,90\r\nS\xfc" "d,180\r\n");
  Vantrak("RotorServer.SQF", "C:\\Vantrak\\RotServer.exe\r\n");
  Vantrak("CatServer.SQF", "C:\\Vantrak\\CatServer.exe\r\n");
  Vantrak("Transvrt.SQF", " 0, 0\r\n 2256000, 0\r\n");
  Skylet("AvorPath.SQF", "C:\\Avor\\Avor.exe\r\n");
  Skylet("SkyletPos.SQF", " 1200\r\n 1500\r\n");
  Skylet("DDEIntVCat.SQF", " 100\r\n");
  Skylet("DDEParkPos.SQF", " 180\r\n 0\r\n 5\r\n");
  Skylet("SkyletStart.SQF", "+\r\n-\r\n-\r\n-\r\n-\r\n");
  Skylet("DDERotOpt.SQF", "w\r\n 10\r\n 5\r\nk\r\n");
}

void FakeStation::SerialRadio(const std::string& family, const std::string& model) {
  radio::RadioState& r = st.radio;
  r.TrxFamily = family;
  r.KenwoodModel = r.IcomModel = r.YaesuModel = model;
  r.KenwoodSatPar = "0";
  r.YaesuRxCmd = 0x1E;
  r.YaesuTxCmd = 0x2E;
  r.IcomRxAddr = r.IcomCmdAddr = 0x60;
  r.IcomTxAddr = 0x61;
  r.CatPort = 3;
  r.CatDelay = 0.05;
  radio::BuildCatCommands(st);
  std::string error;
  port.Open(error);
}

std::string FakeStation::Timeline() {
  std::string out;
  int waited = 0;
  const auto add = [&](const std::string& e) { out += (out.empty() ? "" : " | ") + e; };
  for (const std::string& e : timeline) {
    if (e.rfind("sleep ", 0) == 0) {
      waited += std::stoi(e.substr(6));
      continue;
    }
    if (waited) add(std::to_string(waited) + "ms");
    waited = 0;
    add(e);
  }
  if (waited) add(std::to_string(waited) + "ms");
  timeline.clear();
  return out;
}

}  // namespace skylet::fakes
