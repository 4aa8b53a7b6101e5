#pragma once
// The program both the rotor/CAT server and the rotor-program substitutes
// are: a DDE server that takes every execute and poke, logs it and answers
// yes (or no, when told to refuse).
//
// Skylet starts these programs itself, without arguments, so their settings
// also come from beside the program file:
//   <folder>\<name>.log     the log, unless --log FILE is given
//   <folder>\<name>.refuse  while this file exists, every execute and poke is
//                           refused (negative acknowledgement); --refuse
//                           refuses always
// The application name is the program's file name without extension.
// A server of a rotor topic also shows where the antenna is to point
// (antenna_dial.h).
#include <windows.h>

#include <string>
#include <vector>

namespace partners {

// `slot`: where the window goes in the stack of partner windows.
int RunCommandServer(HINSTANCE instance, int show, const std::vector<std::string>& topics,
                     int slot);

}  // namespace partners
