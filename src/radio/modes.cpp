#include "radio/modes.h"

#include <optional>
#include <string>

#include "radio/cat_server.h"
#include "radio/cat_wait.h"
#include "radio/hamlib_rig.h"
#include "hamlib/daemon.h"
#include "radio/icom.h"
#include "radio/kenwood.h"
#include "radio/link_health.h"
#include "radio/yaesu.h"
#include "station/station.h"

namespace skylet::radio {

namespace {

void Wait(Station& st) { CatWait(st.os.clock, st.radio.CatDelay); }

bool SetKenwoodModes(Station& st, const std::string& down, const std::string& up) {
  RadioState& r = st.radio;
  if (std::optional<std::string> command = kenwood::ModeCommand(down)) r.CmdMode = *command;
  Wait(st);
  if (!WriteCat(st, r.CmdSelectRx)) return false;
  Wait(st);
  if (!WriteCat(st, r.CmdMode)) return false;
  Wait(st);
  if (std::optional<std::string> command = kenwood::ModeCommand(up)) r.CmdMode = *command;
  Wait(st);
  if (!WriteCat(st, r.CmdSelectTx)) return false;
  Wait(st);
  if (!WriteCat(st, r.CmdMode)) return false;
  Wait(st);
  return WriteCat(st, std::string(kenwood::kAutoInfoOff));
}

// The frequency bytes of the mode frames are those the last frequency frame
// left in CatBytes.
bool SetYaesuModes(Station& st, const std::string& down, const std::string& up) {
  RadioState& r = st.radio;
  if (std::optional<uint8_t> mode = yaesu::ModeByte(down)) r.CatBytes[1] = *mode;
  r.CatBytes[5] = yaesu::kModeRx;
  Wait(st);
  if (!WriteCat(st, yaesu::FrameOf(r.CatBytes))) return false;
  Wait(st);
  if (std::optional<uint8_t> mode = yaesu::ModeByte(up)) r.CatBytes[1] = *mode;
  r.CatBytes[5] = yaesu::kModeTx;
  if (!WriteCat(st, yaesu::FrameOf(r.CatBytes))) return false;
  Wait(st);
  return true;
}

void SetAddress(std::string& frame, uint8_t address) {
  if (frame.size() > icom::kAddressByte) frame[icom::kAddressByte] = static_cast<char>(address);
}

bool SetIcomModes(Station& st, const std::string& down, const std::string& up) {
  RadioState& r = st.radio;
  icom::ApplyMode(r.CmdMode, r.IcomModePrefix, down);
  SetAddress(r.CmdMode, r.IcomRxAddr);
  Wait(st);
  if (!WriteCat(st, r.CmdSelectRx)) return false;
  Wait(st);
  if (!WriteCat(st, r.CmdMode)) return false;
  Wait(st);
  if (!WriteCat(st, r.CmdSelectTx)) return false;
  icom::ApplyMode(r.CmdMode, r.IcomModePrefix, up);
  SetAddress(r.CmdMode, r.IcomTxAddr);
  Wait(st);
  if (!WriteCat(st, r.CmdMode)) return false;
  Wait(st);
  if (!WriteCat(st, r.CmdSelectRx)) return false;
  // No answer is awaited after a mode command; what came is thrown away.
  st.os.MSCat.DiscardInput();
  Wait(st);
  return true;
}

}  // namespace

void SetCatMode(Station& st) {
  RadioState& r = st.radio;
  const std::string& down = st.tracking.DownMode;
  const std::string& up = st.tracking.UpMode;
  if (hamlib::RigOn(st)) {
    hamlib_rig::SendModes(st);
    return;
  }
  if (r.DdeCat == "+") {
    if (!st.os.CatClientConv.Execute(cat_server::ModeCommand(down, up))) {
      st.os.alerts.ShowMessage(kCatServerModeFailure, kProgramName);
      st.os.process.End();
    }
    Wait(st);
    return;
  }
  r.modesDue = false;
  if (r.CatPort < 1) return;
  bool sent = false;
  if (r.TrxFamily == "Kenwood") {
    sent = SetKenwoodModes(st, down, up);
  } else if (r.TrxFamily == "Icom") {
    sent = SetIcomModes(st, down, up);
  } else {
    sent = SetYaesuModes(st, down, up);
  }
  // A radio left in the last satellite's modes would be wrong for the whole
  // pass: the modes go out again with the next record.
  r.modesDue = !sent;
}

bool SetDueModes(Station& st) {
  RadioState& r = st.radio;
  if (!r.modesDue) return true;
  SetCatMode(st);
  if (r.modesDue) return false;
  r.LastCatFreq = 0;  // the frequencies follow the modes at once
  return true;
}

}  // namespace skylet::radio
