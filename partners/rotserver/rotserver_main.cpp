// The rotor and CAT server substitute. Its DDE application name is its file
// name, so the same program copied as CatServer.exe serves "CatServer".
// Topics: RotServConv (item RotServItem) and CatServConv (item CatServItem).
#include <windows.h>

#include "common/command_server.h"
#include "common/dde_server.h"
#include "common/program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  // The CAT server copy shows its window below the rotor server's.
  const int slot = partners::SameName(partners::ProgramName(), "CatServer") ? 2 : 1;
  return partners::RunCommandServer(instance, show, {"RotServConv", "CatServConv"}, slot);
}
