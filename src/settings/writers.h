#pragma once
// The own settings files the program writes. Each write replaces the whole
// file safely: when it fails, the operator is told which file and why, the
// old file stays as it was, and the function returns false.
namespace skylet {
struct Station;
}

namespace skylet::settings {

// Main window's top and left edge; only in the normal window state (a
// minimised or maximised window leaves the stored position untouched).
bool SaveWindowPos(Station& st);
bool WriteIntVCat(Station& st);
bool SaveParkPos(Station& st);
bool WriteStartOptions(Station& st);
bool WriteRotOptions(Station& st);
// The setup dialog's Hamlib choices, for the next start.
bool WriteHamlib(Station& st);
// Skylet's own options, as the dialog "Skylet-Optionen" chose them.
bool WriteOptions(Station& st);
bool WriteVerkehr(Station& st);

}  // namespace skylet::settings
