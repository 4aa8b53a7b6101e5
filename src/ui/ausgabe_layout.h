#pragma once
// The main window's layout table and menu bar.
#include <span>

#include "ui/ausgabe.h"
#include "ui/form_layout.h"

namespace skylet::ui {

// In tab order: the keyboard target picFocus comes first.
std::span<const ControlLayout> AusGabeLayout();
// Left to right as on the menu bar.
std::span<const MenuLayout> AusGabeMenus();

// The row of one control; null for an id that is not in the table.
const ControlLayout* FindControl(std::span<const ControlLayout> layout, int id);

}  // namespace skylet::ui
