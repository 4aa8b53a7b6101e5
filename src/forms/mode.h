#pragma once
// The dialog "Mode": the converter/transverter offset pair and, for Icom
// radios, the pair of CI-V addresses in use. It exists from the start
// (hidden), because the start-up fills its two lists, and its buttons only
// hide it, so the lists and their selected rows last the whole run.
#include "forms/controls.h"

namespace skylet::forms {

struct Mode : FormState {
  Mode() {
    caption = "Mode";
    loaded = true;
  }

  Label lblTransv{"Konverter/Transverter-Offset"};
  ListBox lstTransverter;
  Label lblAdress{"Rx/Tx-Adressen (nur Icom)"};
  ListBox lstAdress;
  CommandButton cmdCancel{"abbrechen"};
  CommandButton cmdOK{"OK"};
};

}  // namespace skylet::forms
