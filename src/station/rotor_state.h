#pragma once
// What the rotor side of the program knows: interface, offsets, tracking
// options, park position, standard directions and the switches.
#include <array>
#include <cstdint>
#include <string>

namespace skylet::rotor {

struct RotorState {
  static constexpr int kParPortEntries = 12;  // entries 1..12
  static constexpr int kStandEntries = 50;    // entries 1..50

  int16_t RotType = 0;  // <0: no rotor server; 0: no rotor output; >0: ParPort entry
  int16_t ParPortDelay = 0;
  std::string RotNorth;
  double RotMinEl = 0;
  double RotAzOffset = 0;
  double RotElOffset = 0;

  // Index 0 is unused: entries are numbered from 1.
  std::array<std::string, kParPortEntries + 1> ParPortLines{};
  int32_t ParPortAdr = 0;

  double ParkAz = 0;
  double ParkEl = 0;
  int16_t ParkDelay = 0;
  int16_t ParkCount = 0;  // advanced by two per no-satellite record while park is on

  std::string RotMode;    // "i": by time, "w": by angle change
  int16_t RotIntV = 0;
  double MinWin = 0;      // degrees
  std::string WinkelOpt;  // "k": constant, "g": gain-related

  std::array<std::string, kStandEntries + 1> StandName{};
  std::array<int16_t, kStandEntries + 1> StandAz{};
  int StandCount = 0;

  std::string RotorOn;   // live tracking switch, "+" = on
  std::string ParkOn;    // live park switch
  std::string DdeRotor;  // "+": the rotor is driven through the rotor server
  int RotCount = 0;

  // Target position (before offsets and corrections) and the reference
  // position of the angle criterion, in degrees.
  double RotAz = 0;
  double RotEl = 0;
  double RotAzLast = 0;
  double RotElLast = 0;
  // Output enable: nothing reaches the rotor until a first position was
  // meant to be sent ("+").
  std::string RotSend;
  // "+" when the angle criterion set a new target during this record.
  std::string RotMoved;

  // The operator's 1-degree corrections, added to every position sent.
  double RotAzKorr = 0;
  double RotElKorr = 0;

  double DegToRad = 0;
};

}  // namespace skylet::rotor
