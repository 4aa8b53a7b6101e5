#include "fakes/fakes.h"

#include <algorithm>

#include "radio/link_setup.h"

namespace skylet::fakes {

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string Shown(const std::string& bytes) {
  for (unsigned char c : bytes) {
    if (c < 0x20 || c > 0x7E) return Hex(bytes);
  }
  return bytes;
}

bool FakeDdeLink::Open(const platform::DdeLinkTarget& t) {
  log.push_back("open " + t.application + "|" + t.topic + " " + t.item + " t=" +
                std::to_string(t.timeoutTenths));
  open_ = serverRunning && opensToFail <= 0;
  if (opensToFail > 0) --opensToFail;
  return open_;
}

std::optional<std::string> FakeDdeLink::Request() {
  log.push_back("request");
  if (!open_ || answers.empty()) return std::nullopt;
  std::string answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

bool FakeSerialPort::Open(std::string& error) {
  if (failOpen) {
    error = "COM" + std::to_string(commPort) + ": Zugriff verweigert";
    return false;
  }
  open_ = true;
  return true;
}

bool FakeSerialPort::Output(const std::string& bytes) {
  const bool ok = open_ && !failWrites;
  if (events) events->push_back(Shown(bytes) + (ok ? "" : " (failed)"));
  if (!ok) return false;
  writes.push_back(bytes);
  if (icomAnswer) inBuffer += bytes + *icomAnswer;
  return true;
}

void FakeLauncher::ShellOpen(const std::string& verb, const std::string& file,
                             const std::string& parameters, const std::string& folder,
                             platform::ShowCommand show) {
  log.push_back("shell " + verb + " " + file + (parameters.empty() ? "" : " " + parameters) +
                " | " + folder + " " + std::to_string(static_cast<int>(show)));
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

void FakeClock::SleepMs(int milliseconds) {
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
  Vantrak("RotorServer.SQF", "C:\\Vantrak\\RotServer\r\n");
  Vantrak("CatServer.SQF", "C:\\Vantrak\\CatServer\r\n");
  Vantrak("Transvrt.SQF", " 0, 0\r\n 2256000, 144000\r\n");
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
  timeline.push_back("");  // takes out the last wait
  for (const std::string& e : timeline) {
    if (e.rfind("sleep ", 0) == 0) {
      waited += std::stoi(e.substr(6));
      continue;
    }
    if (waited) out += " | " + std::to_string(waited) + "ms";
    if (!e.empty()) out += " | " + e;
    waited = 0;
  }
  timeline.clear();
  return out.empty() ? out : out.substr(3);
}

}  // namespace skylet::fakes
