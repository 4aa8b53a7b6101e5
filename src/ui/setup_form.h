#pragma once
// The setup dialog "Setup": the radio family, how the rotor follows the
// satellite, the server programs and the start options.
#include "ui/form_table.h"

namespace skylet::ui {

const FormTable& SetupForm();

namespace SatSetup {

// Places the dialog by CalcDlgOffset, fills it from the settings files (which
// returns rotor control, park and the CAT flag to their start settings and
// undoes rotor options changed but not stored), and shows it.
void Open(Station& st);

// The family takes effect at once for the commands sent; it is never stored.
void optTRX_Click(Station& st, int index);
// 0 "Zeitablauf" (by time), 1 "Winkeländerg." (by angle change), each with
// the controls of the other basis disabled.
void RotOpt_Click(Station& st, int index);
void OptWinkel_Click(Station& st, int index);
// The start options and the server choices, stored by OK.
void chkStartOptR_Click(Station& st);
void chkStartOptC_Click(Station& st);
void ChkStartOptP_Click(Station& st);
void chkDDER_Click(Station& st);
void chkDDEC_Click(Station& st);
// Hamlib's daemons for the next start: the switches, the addresses as
// typed, 0 two VFOs or 1 split for the uplink.
void chkHamRig_Click(Station& st);
void chkHamRot_Click(Station& st);
void edHamRig_Change(Station& st);
void edHamRot_Change(Station& st);
void optHamUp_Click(Station& st, int index);
// One step per click in its direction: the interval within 0..1001 records,
// the minimum angle change within 0..91 degrees.
void ScrollIntV_Change(Station& st);
void ScrollMinWin_Change(Station& st);
// Writes the start options, the rotor options and the Hamlib choices and
// hides the dialog; a file that could not be written, or a Hamlib address
// that is not host:port, keeps it open.
void cmdOK_Click(Station& st);
// "abbrechen": hides the dialog and writes nothing.
void cmdCancel_Click(Station& st);

}  // namespace SatSetup
}  // namespace skylet::ui
