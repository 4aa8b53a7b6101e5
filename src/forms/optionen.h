#pragma once
// Skylet's own dialog "Skylet-Optionen", opened from the main window's
// system menu: the options beyond the documented program. Created at its
// first opening, hidden by its buttons, destroyed by its close box.
#include "forms/controls.h"

namespace skylet::forms {

struct Optionen : FormState {
  Optionen() { caption = "Skylet-Optionen"; }

  CheckBox chkKorrMerken{"Korrektur je Satellit merken (FM und linear getrennt)"};
  CheckBox chkDialFolgen{"Dem Drehknopf des Funkger\xe4ts folgen (SSB/CW)"};
  // Shown when the way to the radio has no frequency read.
  Label lblDialHinweis{"Mit diesem Funkger\xe4t nicht m\xf6glich: es kennt keine Frequenzabfrage."};
  CommandButton cmdOK{"OK"};
  CommandButton cmdCancel{"abbrechen"};
};

}  // namespace skylet::forms
