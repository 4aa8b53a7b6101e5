#include "radio/frequency_output.h"

#include <cmath>
#include <optional>
#include <string>

#include "radio/cat_server.h"
#include "radio/cat_wait.h"
#include "radio/digits.h"
#include "radio/hamlib_rig.h"
#include "hamlib/daemon.h"
#include "radio/icom.h"
#include "radio/kenwood.h"
#include "radio/link_health.h"
#include "radio/yaesu.h"
#include "station/station.h"
#include "text/format.h"

namespace skylet::radio {

namespace {

void Wait(Station& st) { CatWait(st.os.clock, st.radio.CatDelay); }

// A converter offset is taken off only from a frequency above it: an uplink
// of 0, or a band below the converter, goes out as it is.
double WithOffset(double kHz, double offset) { return kHz > offset ? kHz - offset : kHz; }

// A change smaller than the step sends nothing; one equal to it is sent.
bool StepReached(const RadioState& r, double CatRefFreq) {
  return !(r.IntV / 1000 > std::fabs(CatRefFreq - r.LastCatFreq));
}

bool IsKenwood(const RadioState& r) { return r.TrxFamily == "Kenwood"; }

// Whether the commands in use can carry the frequency; a frame built from
// one they cannot carry would tune the radio somewhere else. rigctld's
// commands are text, which carries any number of digits.
bool Fits(const Station& st, double kHz) {
  if (hamlib::RigOn(st)) return HzDigits(kHz).has_value();
  return IsKenwood(st.radio) ? ElevenDigits(kHz).has_value() : TenDigits(kHz).has_value();
}

// `up` is the uplink before its offset: an uplink of 0 is none and is not
// sent, so what a negative offset would make of it must not stop the
// downlink.
bool FrequenciesFit(Station& st, double down, double up, double upl) {
  for (double kHz : {down, up == 0 ? 0.0 : upl}) {
    if (Fits(st, kHz)) continue;
    CatLinkFailed(st, "Die Frequenz " + text::DecimalText(kHz) +
                          " kHz passt nicht in die Befehle des Transceivers;\r"
                          "ein Konverter-Offset (Men\xfc \"Mode\") bringt sie in seinen Bereich.");
    return false;
  }
  return true;
}

void EmptyReceiveBuffer(Station& st) { st.os.MSCat.DiscardInput(); }

// The radio echoes each CI-V frame and answers it; its answer is awaited for
// up to three CAT waits, then whatever came is thrown away unread.
void AwaitIcomAnswer(Station& st) {
  platform::Clock& clock = st.os.clock;
  const double deadline = clock.MonotonicSeconds() + 3 * st.radio.CatDelay;
  while (st.os.MSCat.InBufferCount() <= icom::kAnswerBytes && clock.MonotonicSeconds() <= deadline) {
    clock.SleepMs(1);
  }
  EmptyReceiveBuffer(st);
}

bool SendKenwoodFreq(Station& st, const char* KenwoodVfo, double CatFreq) {
  const std::optional<std::string> CatFrame = kenwood::FrequencyCommand(KenwoodVfo, CatFreq);
  return CatFrame && WriteCat(st, *CatFrame);
}

// The Yaesu opcode stands in CatBytes entry 5, the Icom address in the
// frequency prefix.
bool SendBcdFreq(Station& st, double CatFreq) {
  RadioState& r = st.radio;
  if (r.TrxFamily == "Icom") {
    if (!icom::PutFrequency(r.CatBytes, CatFreq)) return false;
    if (!WriteCat(st, icom::FrequencyFrame(r.IcomFreqPrefix, r.CatBytes))) return false;
    AwaitIcomAnswer(st);
    return true;
  }
  return yaesu::PutFrequency(r.CatBytes, CatFreq) && WriteCat(st, yaesu::FrameOf(r.CatBytes));
}

bool SendServerFreq(Station& st, double dn, double up) {
  const RadioState& r = st.radio;
  const std::optional<std::string> command = cat_server::FrequencyCommand(
      WithOffset(dn, r.RxOffset), WithOffset(up, r.TxOffset), st.os.locale.DecimalSeparator());
  if (!command) {
    CatLinkFailed(st, "Die Frequenzen " + text::DecimalText(dn) + " und " + text::DecimalText(up) +
                          " kHz passen nicht in den Befehl an den Catserver.");
    return false;
  }
  if (!ExecuteCat(st, *command)) return false;
  Wait(st);
  return true;
}

// Kenwood or Yaesu over the serial port.
bool SendSerialFreq(Station& st, double dn, double up) {
  RadioState& r = st.radio;
  const bool kenwood = IsKenwood(r);
  const bool ts790 = kenwood && r.KenwoodModel == "TS-790";
  const double down = WithOffset(dn, r.RxOffset);
  const double upl = WithOffset(up, r.TxOffset);
  if (!FrequenciesFit(st, down, up, upl)) return false;

  if (kenwood) {
    if (ts790) {
      if (!WriteCat(st, r.CmdSelectRx)) return false;
      Wait(st);
    }
    if (!SendKenwoodFreq(st, "FA", down)) return false;
  } else {
    r.CatBytes[5] = r.YaesuRxCmd;
    if (!SendBcdFreq(st, down)) return false;
  }
  Wait(st);
  if (up == 0) return true;

  // Only the TS-2000 has its transmit side on VFO B.
  const char* KenwoodVfo = kenwood && r.KenwoodModel == "TS-2000" ? "FB" : "FA";
  if (kenwood) {
    if (ts790) {
      if (!WriteCat(st, r.CmdSelectTx)) return false;
      Wait(st);
    }
    if (!SendKenwoodFreq(st, KenwoodVfo, upl)) return false;
  } else {
    r.CatBytes[5] = r.YaesuTxCmd;
    if (!SendBcdFreq(st, upl)) return false;
  }
  Wait(st);
  // The TS-790 is left on its receive side.
  return !ts790 || WriteCat(st, r.CmdSelectRx);
}

// Through rigctld: no CAT wait, each command waits for its answer instead.
void SendHamlibFreq(Station& st, double dn, double up) {
  RadioState& r = st.radio;
  // Modes still due (the daemon was away at the take-up, or came back) go
  // out with the next record, and the frequencies with them whatever the
  // step. Without a link nothing is known to be on the radio: every record
  // looks for the daemon (as often as it may be looked for), and the radio
  // found again gets the frequencies at once.
  if (st.hamlib.modesDue || !st.os.rigNet.IsOpen()) r.LastCatFreq = 0;
  const double CatRefFreq = dn > up ? dn : up;
  if (!StepReached(r, CatRefFreq)) return;
  const double down = WithOffset(dn, r.RxOffset);
  const double upl = WithOffset(up, r.TxOffset);
  if (!FrequenciesFit(st, down, up, upl)) return;
  const std::optional<double> uplink = up == 0 ? std::nullopt : std::optional<double>(upl);
  if (hamlib_rig::SendFrequencies(st, down, uplink)) r.LastCatFreq = CatRefFreq;
}

void SetIcomAddress(std::string& frame, uint8_t address) {
  if (frame.size() > icom::kAddressByte) frame[icom::kAddressByte] = static_cast<char>(address);
}

}  // namespace

void SendCatFreq(Station& st, double dn, double up) {
  RadioState& r = st.radio;
  if (hamlib::RigOn(st)) {
    SendHamlibFreq(st, dn, up);
    return;
  }
  const bool server = r.DdeCat == "+";
  if (!server && r.TrxFamily == "Icom") {
    SendIcomFreq(st, dn, up);
    return;
  }
  if (!server && r.CatPort < 1) return;
  const double CatRefFreq = dn > up ? dn : up;
  if (!StepReached(r, CatRefFreq)) return;
  Wait(st);
  // A send that failed part way leaves LastCatFreq, so the next record
  // sends again.
  if (server ? SendServerFreq(st, dn, up) : SendSerialFreq(st, dn, up)) r.LastCatFreq = CatRefFreq;
}

void SendIcomFreq(Station& st, double dn, double up) {
  RadioState& r = st.radio;
  if (r.CatPort < 1) return;
  EmptyReceiveBuffer(st);
  const double CatRefFreq = dn > up ? dn : up;
  if (!StepReached(r, CatRefFreq)) return;
  const double down = WithOffset(dn, r.RxOffset);
  const double upl = WithOffset(up, r.TxOffset);
  if (!FrequenciesFit(st, down, up, upl)) return;

  EmptyReceiveBuffer(st);
  if (!WriteCat(st, r.CmdSelectRx)) return;
  Wait(st);
  EmptyReceiveBuffer(st);
  SetIcomAddress(r.IcomFreqPrefix, r.IcomRxAddr);
  if (!SendBcdFreq(st, down)) return;
  if (up != 0) {
    if (!WriteCat(st, r.CmdSelectTx)) return;
    Wait(st);
    EmptyReceiveBuffer(st);
    SetIcomAddress(r.IcomFreqPrefix, r.IcomTxAddr);
    if (!SendBcdFreq(st, upl)) return;
  }
  if (!WriteCat(st, r.CmdSelectRx)) return;
  Wait(st);
  EmptyReceiveBuffer(st);
  r.LastCatFreq = CatRefFreq;
}

void ShowCatFreq(Station& st) {
  st.main.edRX.text = text::Format(st.tracking.DownFreq, "#000000.000");
  st.main.edTX.text = text::Format(st.tracking.UpFreq, "#000000.000");
}

}  // namespace skylet::radio
