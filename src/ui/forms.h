#pragma once
// Every form that has a window, the main window first.
#include <span>

#include "ui/form_table.h"

namespace skylet::ui {

std::span<const FormTable* const> AllForms();

}  // namespace skylet::ui
