#pragma once
// The frequency correction and step dialog "Catsteuerung". The record intake
// switches its correction spins on while a satellite is tracked and off
// when none is.
#include "forms/controls.h"

namespace skylet::forms {

struct CatSteuer : FormState {
  CatSteuer() { caption = "Catsteuerung"; }

  ScrollBar ScrollKorr10;
  ScrollBar ScrollKorr100;
  ScrollBar ScrollKorr1000;
};

}  // namespace skylet::forms
