#pragma once
// The own settings files the program writes. Each write replaces the whole
// file safely: when it fails, the operator is told which file and why, the
// old file stays as it was, and the function returns false.
namespace skylet::app {
struct Station;
}

namespace skylet::settings {

// Main window's top and left edge; only in the normal window state (a
// minimised or maximised window leaves the stored position untouched).
bool SaveWindowPos(app::Station& st);
bool WriteIntVCat(app::Station& st);
bool SaveParkPos(app::Station& st);
bool WriteStartOptions(app::Station& st);
bool WriteRotOptions(app::Station& st);

}  // namespace skylet::settings
