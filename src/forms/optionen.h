#pragma once
// Skylet's own dialog "Skylet-Optionen", opened from the main window's
// system menu: the options beyond the documented program. Created at its
// first opening, hidden by its buttons, destroyed by its close box.
#include <array>

#include "forms/controls.h"

namespace skylet::forms {

struct Optionen : FormState {
  Optionen() { caption = "Skylet-Optionen"; }

  CheckBox chkKorrMerken{"Korrektur je Satellit merken (FM und linear getrennt)"};
  CheckBox chkDialFolgen{"Dem Drehknopf des Funkger\xe4ts folgen (SSB/CW)"};
  // Shown when the way to the radio has no frequency read.
  Label lblDialHinweis{"Mit diesem Funkger\xe4t nicht m\xf6glich: es kennt keine Frequenzabfrage."};
  // How the uplink follows a turn for the satellite in view, kept with its
  // correction. By index: 0 from the modes, 1 inverting, 2 not inverting.
  Frame frSinn{" Uplink beim Drehen "};
  std::array<OptionButton, 3> optSinn{OptionButton{"nach Betriebsart"}, OptionButton{"invertierend"},
                                      OptionButton{"nicht invertierend"}};
  CheckBox chkVerkehrDatei{"Verkehr in eine Datei je Tag schreiben (Ordner Verkehr)"};
  CommandButton cmdOK{"OK"};
  CommandButton cmdCancel{"abbrechen"};
};

}  // namespace skylet::forms
