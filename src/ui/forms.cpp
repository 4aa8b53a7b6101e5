#include "ui/forms.h"

#include <array>

#include "ui/ausgabe_form.h"
#include "ui/catsteuer_form.h"
#include "ui/mode_form.h"
#include "ui/optionen_form.h"
#include "ui/rotor_form.h"
#include "ui/setup_form.h"

namespace skylet::ui {

std::span<const FormTable* const> AllForms() {
  static const std::array<const FormTable*, 6> forms{&AusGabeForm(), &ModeForm(), &RotorForm(),
                                                    &SetupForm(), &CatSteuerForm(), &OptionenForm()};
  return forms;
}

}  // namespace skylet::ui
