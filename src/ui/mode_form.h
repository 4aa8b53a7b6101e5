#pragma once
// The dialog "Mode": choosing the converter/transverter offsets and the
// Icom addresses in use for the rest of the run.
#include "ui/form_table.h"

namespace skylet::ui {

const FormTable& ModeForm();

namespace Mode {

// Applies the chosen address row (the Icom commands are built anew) and the
// chosen offset row, makes the next record send its frequencies, and hides
// the dialog. Nothing is sent and nothing is written to a file.
void cmdOK_Click(Station& st);
// Hides the dialog; the values in use stay, the rows chosen stay selected.
void cmdCancel_Click(Station& st);

}  // namespace Mode
}  // namespace skylet::ui
