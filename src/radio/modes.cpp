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

void SetKenwoodModes(Station& st, const std::string& down, const std::string& up) {
  RadioState& r = st.radio;
  if (std::optional<std::string> command = kenwood::ModeCommand(down)) r.CmdMode = *command;
  Wait(st);
  if (!WriteCat(st, r.CmdSelectRx)) return;
  Wait(st);
  if (!WriteCat(st, r.CmdMode)) return;
  Wait(st);
  if (std::optional<std::string> command = kenwood::ModeCommand(up)) r.CmdMode = *command;
  Wait(st);
  if (!WriteCat(st, r.CmdSelectTx)) return;
  Wait(st);
  if (!WriteCat(st, r.CmdMode)) return;
  Wait(st);
  WriteCat(st, std::string(kenwood::kAutoInfoOff));
}

// The frequency bytes of the mode frames are those the last frequency frame
// left in CatBytes.
void SetYaesuModes(Station& st, const std::string& down, const std::string& up) {
  RadioState& r = st.radio;
  if (std::optional<uint8_t> mode = yaesu::ModeByte(down)) r.CatBytes[1] = *mode;
  r.CatBytes[5] = yaesu::kModeRx;
  Wait(st);
  if (!WriteCat(st, yaesu::FrameOf(r.CatBytes))) return;
  Wait(st);
  if (std::optional<uint8_t> mode = yaesu::ModeByte(up)) r.CatBytes[1] = *mode;
  r.CatBytes[5] = yaesu::kModeTx;
  if (!WriteCat(st, yaesu::FrameOf(r.CatBytes))) return;
  Wait(st);
}

void SetAddress(std::string& frame, uint8_t address) {
  if (frame.size() > icom::kAddressByte) frame[icom::kAddressByte] = static_cast<char>(address);
}

void SetIcomModes(Station& st, const std::string& down, const std::string& up) {
  RadioState& r = st.radio;
  icom::ApplyMode(r.CmdMode, r.IcomModePrefix, down);
  SetAddress(r.CmdMode, r.IcomRxAddr);
  Wait(st);
  if (!WriteCat(st, r.CmdSelectRx)) return;
  Wait(st);
  if (!WriteCat(st, r.CmdMode)) return;
  Wait(st);
  if (!WriteCat(st, r.CmdSelectTx)) return;
  icom::ApplyMode(r.CmdMode, r.IcomModePrefix, up);
  SetAddress(r.CmdMode, r.IcomTxAddr);
  Wait(st);
  if (!WriteCat(st, r.CmdMode)) return;
  Wait(st);
  if (!WriteCat(st, r.CmdSelectRx)) return;
  // No answer is awaited after a mode command; what came is thrown away.
  st.os.MSCat.DiscardInput();
  Wait(st);
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
  if (r.CatPort < 1) return;
  if (r.TrxFamily == "Kenwood") {
    SetKenwoodModes(st, down, up);
  } else if (r.TrxFamily == "Icom") {
    SetIcomModes(st, down, up);
  } else {
    SetYaesuModes(st, down, up);
  }
}

}  // namespace skylet::radio
