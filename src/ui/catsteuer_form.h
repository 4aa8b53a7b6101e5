#pragma once
// The correction and step dialog "Catsteuerung" and the arrow keys of the
// main window: the frequency correction of the tracked satellite and the
// step the radio is retuned by.
#include "ui/form_table.h"

namespace skylet::ui {

const FormTable& CatSteuerForm();

namespace CatSteuer {

// One step of the frequency step IntV by `hz` (whole Hz, never below 0; a
// negative step read from the file is left alone), shown in the dialog and
// the main window.
void IntVStep(Station& st, double hz);
// One step of the tracked satellite's correction by `hz`, while a satellite
// is tracked and the correction lies within -10001..10001 or the step goes
// back towards zero; the next record then sends the corrected frequencies.
void KorrStep(Station& st, double hz);

// Each click on a spin is one step its way: 10, 100 or 1000 Hz.
void ScrollIntV10_Change(Station& st);
void ScrollIntV100_Change(Station& st);
void ScrollIntV1000_Change(Station& st);
void ScrollKorr10_Change(Station& st);
void ScrollKorr100_Change(Station& st);
void ScrollKorr1000_Change(Station& st);
// "Intv. ok": writes the step to DDEIntVCat.SQF; the keys go to "weiter".
void cmdIntVStore_Click(Station& st);
// "weiter": hides the dialog, as the rotor dialog's button of that name does.
void cmdCancel_Click(Station& st);

}  // namespace CatSteuer
}  // namespace skylet::ui
