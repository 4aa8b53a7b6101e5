#pragma once
// The main window AusGabe: its table and its handlers. The once-a-second
// record pull, the three switches, the focus that always goes back to the
// keyboard target, the menus and the placement of the dialogs.
#include "ui/form_table.h"

namespace skylet::ui {

const FormTable& AusGabeForm();

namespace AusGabe {

inline constexpr const char* kTrackingLostMessage =
    "Der DDE-Link zu Avor ist abgebrochen worden,\rSkylet wird deshalb beendet.";

// One tick of Timer1: pulls the current record from the tracking program
// and hands it on. A lost link ends the program through the quit sequence.
void Timer1_Timer(Station& st);
// A new record stands in lblDDE's caption.
void lblDDE_Change(Station& st);

void lblCat_Click(Station& st);
// Switches CAT on or off through CatSwitchOn/CatSwitchOff; a CAT server that
// did not take the command is told (once per outage).
void SetCatSwitch(Station& st, bool on);
void lblRotor_Click(Station& st);
void lblPark_Click(Station& st);

// The display boxes never keep the focus: keys belong to picFocus.
void edAZ_GotFocus(Station& st);
void edDM_GotFocus(Station& st);
void edEL_GotFocus(Station& st);
void edRX_GotFocus(Station& st);
void edSat_GotFocus(Station& st);
void edTX_GotFocus(Station& st);
void edUM_GotFocus(Station& st);

// The keyboard on the main window: Left/Right the correction -/+100 Hz
// while a satellite is tracked, Up/Down the step +/-100 Hz; the shift state
// and every other key are ignored.
void picFocus_KeyDown(Station& st, int keyCode, int shift);

// Opens the correction and step dialog with the values in use.
void MenCat_Click(Station& st);
// Opens the rotor dialog with the park position and corrections in use.
void menRot_Click(Station& st);
// Opens the dialog "Mode" modally, placed by CalcDlgOffset.
void menMode_Click(Station& st);
void menOpt_Click(Station& st);
// Runs the quit sequence (app::menQuit_Click).
void menQuit_Click(Station& st);
void menHelp_Click(Station& st);
// From the system menu: Skylet's own options.
void menOptionen_Click(Station& st);
// Any closing of the window: the quit sequence, which cancels nothing.
void Form_QueryUnload(Station& st);

// Where a dialog opens: to the right of the main window while its corner
// lies in the left half of the screen, else to the left; below it while the
// corner lies in the upper third, else above.
void CalcDlgOffset(Station& st);
// Places a dialog the way every menu of the window does (by CalcDlgOffset)
// and loads it; showing it is the caller's.
void PlaceDialog(Station& st, forms::FormState& dialog);

}  // namespace AusGabe
}  // namespace skylet::ui
