#pragma once
// One driver per way to the radio: the Kenwood, Icom and Yaesu command sets
// over the serial port, the CAT server, rigctld. Each driver's file holds the
// whole sequence of writes and waits for its way next to its encoders; the
// differences between models of a family are rows of the family's model
// table, one driver per row.
//
// The family's driver (model included) is chosen when its command strings
// are built (start-up, a family change in Setup, a new address in Mode).
// The way the pass takes is the family's driver unless rigctld (chosen at
// start-up) or the CAT server (which Setup may switch) stands in between.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace skylet {
struct Station;
}

namespace skylet::radio {

class Driver {
 public:
  // Fills the command strings of the family and model. Sends nothing.
  virtual void BuildCommands(Station&) const {}
  // Sets up and opens the serial port and puts the radio into its satellite
  // set-up, once per run. A port that cannot be set up ends the program.
  virtual void TakeUp(Station&) const {}
  // What the CAT switch sends; false only when the CAT server refused.
  virtual bool CatOn(Station& st) const = 0;
  virtual bool CatOff(Station& st) const = 0;
  // The downlink and uplink (kHz, corrected, before the converter offsets;
  // an uplink of 0 is none), sent when the step is reached.
  virtual void SendFrequencies(Station& st, double dn, double up) const = 0;
  // DownMode and UpMode of the satellite in view.
  virtual void SendModes(Station& st) const = 0;
  // At quit, with the port still open: the radio back out of its satellite
  // set-up before the CAT switch goes off.
  virtual void Leave(Station&) const {}
  // At quit, right before the port is given back.
  virtual void Release(Station&) const {}
  // The receive VFO read back (kHz, as the radio's dial stands), for the
  // dial to be followed: nothing when the command set has no read or no
  // answer came within the reply wait. One query per call.
  virtual bool ReadsDial(const Station&) const { return false; }
  virtual std::optional<double> ReadDial(Station&) const { return std::nullopt; }
  // What the read can tell apart: a smaller difference is no turn.
  virtual double DialResolutionHz() const { return 1; }

 protected:
  ~Driver() = default;
};

// The serial family's driver, the one the command strings were built for.
const Driver& FamilyDriver(const Station& st);
// The driver the pass talks through.
const Driver& Way(const Station& st);

// Steps the drivers share.

// The CAT wait (CatDelay) between two commands.
void Wait(Station& st);
// A converter offset is taken off only from a frequency above it.
double WithOffset(double kHz, double offset);
// Whether the larger frequency `CatRefFreq` has moved by at least the step
// since the last send (LastCatFreq cleared forces it).
bool StepReached(Station& st, double CatRefFreq);
// A pair went out: the step's reference and the receive VFO as set (the
// downlink `dn` before its converter offset).
void Sent(Station& st, double CatRefFreq, double dn);
// Whether the driver's commands can carry both frequencies (`up` before its
// offset, `upl` after it; an uplink of 0 is none): a frame built from one
// they cannot carry would tune the radio somewhere else. A frequency that
// does not fit is told like a failed write.
using FitsCommands = bool (*)(double kHz);
bool FrequenciesFit(Station& st, double down, double up, double upl, FitsCommands fits);

// What the three serial families share: the CAT switch (their CAT-on and
// satellite-on frames, a CAT wait after each, also where a family has no
// such frame), the bookkeeping of modes that did not get through, and the
// frequencies' step test with a CAT wait before the pair.
class SerialDriver : public Driver {
 public:
  bool CatOn(Station& st) const override;
  bool CatOff(Station& st) const override;
  void SendModes(Station& st) const final;
  void SendFrequencies(Station& st, double dn, double up) const override;

 protected:
  // The family's mode sequence; false when a write failed.
  virtual bool SetModes(Station& st, const std::string& down, const std::string& up) const = 0;
  // The downlink `down` and the uplink `upl` after their offsets (`up` the
  // uplink before it: 0 is none); false when a write failed part way.
  virtual bool SendPair(Station& st, double down, double up, double upl) const = 0;
  ~SerialDriver() = default;
};

// The driver of the row named `model` in a family's model table, or the
// family's own for a model the table does not have.
template <class Model, std::size_t N>
const Driver& DriverNamed(const Model (&models)[N], const Model& other, std::string_view model) {
  for (const Model& driver : models) {
    if (driver.Named(model)) return driver;
  }
  return other;
}

// Asks the serial radio `query` (what it had sent before is thrown away) and
// collects what comes back until `answer` finds its value in it, for up to
// three CAT waits and at least kReplyWaitSeconds: the value, or nothing.
inline constexpr double kReplyWaitSeconds = 0.1;
using AnswerReader = std::function<std::optional<double>(std::string_view got)>;
std::optional<double> AskRadio(Station& st, const std::string& query, const AnswerReader& answer);

// Take-up steps over the serial port.
// A baud rate the port could be opened at; otherwise the file is named and
// the start ends.
void CheckBaud(Station& st, const std::string& baud, const char* file);
void OpenPort(Station& st);
// Writes a command and waits the CAT delay after it. A write that fails is
// a failure of the set-up like a port that cannot be opened.
void WriteAndWait(Station& st, const std::string& bytes);
// The same failure of a set-up write without the wait.
void WriteOrEnd(Station& st, const std::string& bytes);

}  // namespace skylet::radio
