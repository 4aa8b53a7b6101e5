#pragma once
// The main window's event handlers: the once-a-second record pull, the three
// switches, the focus that always goes back to the keyboard target, the
// menus and the placement of the dialogs.
#include "ui/ausgabe.h"

namespace skylet {
struct Station;
}

namespace skylet::app {

inline constexpr const char* kTrackingLostMessage =
    "Der DDE-Link zu Avor ist abgebrochen worden,\rSkylet wird deshalb beendet.";

// One tick of Timer1: pulls the current record from the tracking program
// and hands it on. A lost link ends the program through the quit sequence.
void Timer1_Timer(Station& st);
// A new record stands in lblDDE's caption.
void lblDDE_Change(Station& st);

void lblCat_Click(Station& st);
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
// A control of the window got the focus (the renderer reports it): notes it
// and runs the control's handler, if it has one.
void GotFocus(Station& st, ui::AusGabeCtl control);

// The keyboard on the main window. The arrow keys will change the
// correction and the frequency step, together with the correction dialog.
void picFocus_KeyDown(Station& st, int keyCode, int shift);

// The dialogs behind these menus come later; the handlers are wired.
void MenCat_Click(Station& st);
void menRot_Click(Station& st);
void menMode_Click(Station& st);
void menOpt_Click(Station& st);
// menQuit_Click is the quit sequence itself (app/shutdown.h).
void menHelp_Click(Station& st);

// Where a dialog opens: to the right of the main window while its corner
// lies in the left half of the screen, else to the left; below it while the
// corner lies in the upper third, else above.
void CalcDlgOffset(Station& st);

}  // namespace skylet::app
