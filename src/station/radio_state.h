#pragma once
// What the radio side of the program knows: family and models, serial
// parameters, Icom addresses, converter offsets, the frequency step and the
// CAT switches.
#include <array>
#include <cstdint>
#include <string>

namespace skylet::radio {

class Driver;

// The bytes of the last frames built: entries 1 to 5 a Yaesu frame (four
// frequency bytes, then the opcode), entries 6 to 10 the five Icom frequency
// bytes; entry 0 is unused. Never cleared: the Yaesu mode frames reuse the
// frequency bytes the last frequency frame left.
using CatBytes = std::array<uint8_t, 11>;

// The families "TRX.SQF" may name, in the order of Setup's option buttons;
// any other name is driven in the Yaesu command set.
inline constexpr std::array<const char*, 3> kTrxFamilies{"Yaesu", "Icom", "Kenwood"};
enum TrxFamilyIndex { kYaesu, kIcom, kKenwood };

// The index of the family in kTrxFamilies; -1 for a name of none of them.
inline int TrxFamilyOf(const std::string& name) {
  for (int i = 0; i < static_cast<int>(kTrxFamilies.size()); ++i) {
    if (name == kTrxFamilies[i]) return i;
  }
  return -1;
}

// Following the radio's dial on a linear transponder (Skylet's own option):
// the operator tunes across the passband with the radio's knob and the uplink
// follows. Belongs to the pass: taken up anew with each satellite.
struct DialState {
  // Where in the passband the operator listens, in Hz, added to the downlink
  // sent (and to or from the uplink); not the oscillator error, which is the
  // correction.
  double offsetHz = 0;
  // The receive VFO as Skylet last set it (kHz, after the converter offset);
  // 0 until the pass's first send.
  double lastRxKHz = 0;
  // The record's read was answered just now: the radio is ready for the
  // pair, which goes out without the CAT wait before it, so a turn of the
  // knob cannot slip in between the read and the write that undoes it.
  bool answeredJustNow = false;
  bool silentTold = false;       // a radio not answering its query, told once per outage
  bool unavailableTold = false;  // a way to the radio without a read, told once a run
  bool operator==(const DialState&) const = default;
};

struct RadioState {
  static constexpr int kIcomRecords = 13;       // entries 0..12
  static constexpr int kTransverterRecords = 12;  // entries 1..12

  std::string TrxFamily;  // the family named in "TRX.SQF"
  // The family the command strings below were last built for: choosing the
  // family already in force keeps them (a Kenwood mode command kept for an
  // unknown mode name, the Icom CW filter byte).
  std::string CmdFamily;
  // The family's and model's driver, chosen with the command strings.
  const Driver* family = nullptr;

  int16_t CatPort = 0;  // 0 or less: no direct serial CAT
  int16_t CatDelayMs = 0;
  double CatDelay = 0;      // seconds

  uint8_t YaesuRxCmd = 0;
  uint8_t YaesuTxCmd = 0;
  std::string YaesuBaud;
  std::string YaesuModel;

  std::string KenwoodModel;
  std::string KenwoodBaud;
  std::string KenwoodSatPar;

  std::string IcomBaud;
  std::array<uint8_t, kIcomRecords> IcomRxAddrs{};
  std::array<uint8_t, kIcomRecords> IcomTxAddrs{};
  uint8_t IcomRxAddr = 0;
  uint8_t IcomTxAddr = 0;
  uint8_t IcomCmdAddr = 0;
  std::string IcomModel;

  // Index 0 is unused: the offsets are numbered from 1.
  std::array<double, kTransverterRecords + 1> RxOffsets{};
  std::array<double, kTransverterRecords + 1> TxOffsets{};
  // The converter offsets in use (kHz): 0 until the operator confirms a row
  // in the dialog "Mode".
  double RxOffset = 0;
  double TxOffset = 0;

  double IntV = 0;  // frequency step, Hz
  double LastCatFreq = 0;  // kHz, reference of the last frequency send
  radio::CatBytes CatBytes{};

  // Command strings of the radio family, one character per byte. Those a
  // family does not use stay empty, so writing them writes nothing.
  std::string CmdSelectRx;
  std::string CmdSelectTx;
  std::string CmdMode;
  std::string IcomModePrefix;
  std::string IcomFreqPrefix;
  std::string CmdIcomSatOn;
  std::string CmdIcomSatOff;
  std::string CmdInit;
  std::string CmdKenwoodSatInit;
  std::string CmdCatOn;
  std::string CmdSatOn;
  std::string CmdCatOff;

  std::string CatLinkDone;  // "+" once the serial link was set up
  DialState dial;

  std::string CatOn;  // live CAT switch, "+" = on
  std::string DdeCat;  // "+": the radio is driven through the CAT server

  // Set by a failed write to the radio or the CAT server, cleared by the
  // next one that works: the operator is told once per outage.
  bool catLinkDown = false;
  // The take-up's mode commands did not reach the serial radio: they go out
  // with the next record, before its frequencies.
  bool modesDue = false;
};

}  // namespace skylet::radio
