// The rotor program substitute: topic RCI, item AZIMUTH, pokes such as
// "GA:123" (go to azimuth) and "GE:45" (go to elevation).
#include <windows.h>

#include "common/command_server.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  return partners::RunCommandServer(instance, show, {"RCI"}, 3);
}
