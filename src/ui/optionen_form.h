#pragma once
// Skylet's own dialog "Skylet-Optionen", opened from the main window's
// system menu, so the documented menu bar stays as it is.
#include "ui/form_table.h"

namespace skylet::ui {

const FormTable& OptionenForm();

namespace Optionen {

// Places the dialog by CalcDlgOffset, shows the options in use and opens it.
void Open(Station& st);
// Takes the choices into use, writes "SkyletOptionen.SQF" and hides the
// dialog; a file that could not be written keeps it open (the choices stay
// in use for this run).
void cmdOK_Click(Station& st);
// "abbrechen": hides the dialog; nothing changes.
void cmdCancel_Click(Station& st);

}  // namespace Optionen
}  // namespace skylet::ui
