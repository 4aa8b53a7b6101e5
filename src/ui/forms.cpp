#include "ui/forms.h"

#include <array>

#include "ui/ausgabe_form.h"
#include "ui/mode_form.h"

namespace skylet::ui {

std::span<const FormTable* const> AllForms() {
  static const std::array<const FormTable*, 2> forms{&AusGabeForm(), &ModeForm()};
  return forms;
}

}  // namespace skylet::ui
