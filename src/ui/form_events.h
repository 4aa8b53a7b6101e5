#pragma once
// What the operator does to a form, as its window reports it. Each call
// first changes the model the way the control itself does (a check box
// toggles, an option button is chosen and the others of its frame cleared,
// a list row is selected, a spin button moves by one, a box takes the typed
// text) and then runs the handler of the row's event. The Windows layer and
// the tests come in through here alike.
#include <string>
#include <vector>

#include "ui/form_table.h"

namespace skylet::ui {

void Click(Station& st, const FormTable& form, const ControlRow& row);
void SelectItem(Station& st, const ControlRow& row, int index);
// `step` +1 (the up arrow) or -1. The handler runs for every click, also
// when the value stands at the end of its range.
void Spin(Station& st, const ControlRow& row, int step);
void Type(Station& st, const ControlRow& row, const std::string& text);
void GotFocus(Station& st, const FormTable& form, const ControlRow& row);
void KeyDown(Station& st, const ControlRow& row, int keyCode, int shift);
void MenuClick(Station& st, const MenuRow& menu);
// The window's close box.
void CloseBox(Station& st, const FormTable& form);

// What a control shows, whatever its kind, for the renderer.
struct ControlView {
  ControlKind kind;
  const std::string* text = nullptr;  // caption or text; null for frames' holders of none
  bool visible = true;
  bool enabled = true;
  // Check box 0/1, option button 0/1, spin position, selected list row.
  int value = 0;
  const std::vector<std::string>* items = nullptr;  // list rows
};
ControlView View(const ControlRef& control);

}  // namespace skylet::ui
