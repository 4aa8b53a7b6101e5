#pragma once
// The rotor dialog "Rotorsteuerung": a standard direction at once, the
// 1-degree corrections of every position sent, and the park position.
#include "ui/form_table.h"

namespace skylet::ui {

const FormTable& RotorForm();

namespace Rotor {

// Each park box takes effect while the operator types: the text read as a
// whole number (halves to even) and stored when it lies in its range,
// otherwise refused with a beep (the text stays, the value too).
void edAzP_Change(Station& st);  // 0..360, above 359.9 stored as 359.9
void edElP_Change(Station& st);  // 0..90
void edZeitP_Change(Station& st);  // 0..1000
// The park boxes filled with the values in use, each stored again as a whole
// number like the operator's typing; a value out of range stays as it was,
// without a beep.
void FillParkBoxes(Station& st);
// "P.-Pos ok": with all three boxes filled the park position is written
// and the dialog hidden; otherwise a beep.
void cmdOK_Click(Station& st);
// "weiter": hides the dialog; the park values stay in use, unwritten.
void cmdCancel_Click(Station& st);
// A standard direction (once the start-up is done): the antenna turns there
// at elevation 0 with tracking and park switched off.
void lstStandR_Click(Station& st);
// One degree per click in the direction clicked, from within -90..90
// (azimuth) or -45..45 (elevation), and the last target sent again with it.
void ScrollAz_Change(Station& st);
void ScrollEl_Change(Station& st);

}  // namespace Rotor
}  // namespace skylet::ui
