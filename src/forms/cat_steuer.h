#pragma once
// The frequency correction and step dialog "Catsteuerung". Created (hidden)
// when first needed: opened from the menu, its correction spins switched by
// the record intake, or its boxes written by a key step; destroyed by its
// close box and created anew when next needed.
#include "forms/controls.h"

namespace skylet::forms {

struct CatSteuer : FormState {
  CatSteuer() { caption = "Catsteuerung"; }

  Label lblIntV{"Intervall(Hz)"};
  TextBox edIntV;  // shows the step; its text is never read
  ScrollBar ScrollIntV10;
  ScrollBar ScrollIntV100;
  ScrollBar ScrollIntV1000;
  Label lblWertKorr{"10 100 1000"};
  Label lblKorr{"Korrektur(Hz)"};
  TextBox edKorr;  // shows the correction; its text is never read
  ScrollBar ScrollKorr10;
  ScrollBar ScrollKorr100;
  ScrollBar ScrollKorr1000;
  Label lblWertIntV{"10  100  1000"};
  CommandButton cmdIntVStore{"Intv. ok"};
  CommandButton cmdCancel{"weiter"};
};

// The dialog as it is, or created (hidden, in its design state) if it does
// not exist.
inline CatSteuer& Loaded(CatSteuer& dlg) {
  if (!dlg.loaded) {
    dlg = CatSteuer{};
    dlg.loaded = true;
  }
  return dlg;
}

}  // namespace skylet::forms
