#include "ui/form_events.h"

#include <cstring>
#include <type_traits>

namespace skylet::ui {

namespace {

// The row's control when it is of kind T, else null.
template <class T>
T* As(Station& st, const ControlRow& row) {
  const ControlRef control = (*row.control)(st);
  T* const* found = std::get_if<T*>(&control);
  return found ? *found : nullptr;
}

bool SameContainer(const ControlRow& a, const ControlRow& b) {
  if (!a.container || !b.container) return a.container == b.container;
  return std::strcmp(a.container, b.container) == 0;
}

// Choosing an option button clears the others of its group: the option
// buttons held by the same frame (or, outside any frame, by the form).
void ChooseOption(Station& st, const FormTable& form, const ControlRow& chosen) {
  for (const ControlRow& row : form.controls) {
    if (&row == &chosen || !SameContainer(row, chosen)) continue;
    if (forms::OptionButton* other = As<forms::OptionButton>(st, row)) other->value = false;
  }
  As<forms::OptionButton>(st, chosen)->value = true;
}

}  // namespace

void Click(Station& st, const FormTable& form, const ControlRow& row) {
  if (forms::CheckBox* check = As<forms::CheckBox>(st, row)) {
    check->value = check->value == 1 ? 0 : 1;
  } else if (As<forms::OptionButton>(st, row)) {
    ChooseOption(st, form, row);
  }
  if (row.on.IndexClick) {
    row.on.IndexClick(st, row.index);
  } else if (row.on.Click) {
    row.on.Click(st);
  }
}

void SelectItem(Station& st, const ControlRow& row, int index) {
  forms::ListBox* list = As<forms::ListBox>(st, row);
  if (!list || !list->Select(index)) return;
  if (row.on.Click) row.on.Click(st);
}

void Spin(Station& st, const ControlRow& row, int step) {
  forms::ScrollBar* spin = As<forms::ScrollBar>(st, row);
  if (!spin) return;
  spin->step = step > 0 ? 1 : -1;
  int value = spin->value + spin->step;
  if (value < forms::ScrollBar::kMin) value = forms::ScrollBar::kMin;
  if (value > forms::ScrollBar::kMax) value = forms::ScrollBar::kMax;
  spin->value = value;
  if (row.on.Change) row.on.Change(st);
}

void Type(Station& st, const ControlRow& row, const std::string& text) {
  forms::TextBox* box = As<forms::TextBox>(st, row);
  if (!box || box->text == text) return;
  box->text = text;
  if (row.on.Change) row.on.Change(st);
}

void GotFocus(Station& st, const FormTable& form, const ControlRow& row) {
  (*form.state)(st).focus = row.name;
  if (row.on.GotFocus) row.on.GotFocus(st);
}

void KeyDown(Station& st, const ControlRow& row, int keyCode, int shift) {
  if (row.on.KeyDown) row.on.KeyDown(st, keyCode, shift);
}

void MenuClick(Station& st, const MenuRow& menu) {
  if (menu.Click) menu.Click(st);
}

void CloseBox(Station& st, const FormTable& form) {
  forms::FormState& state = (*form.state)(st);
  switch (form.closeBox) {
    case ui::CloseBox::QueryUnload:
      if (form.QueryUnload) form.QueryUnload(st);
      break;
    case ui::CloseBox::Hide:
      state.visible = false;
      break;
    case ui::CloseBox::Unload:
      if (form.reset) form.reset(st);
      state.visible = false;
      state.loaded = false;
      break;
  }
}

ControlView View(const ControlRef& control) {
  ControlView view{KindOf(control)};
  std::visit(
      [&view](auto* c) {
        using T = std::remove_pointer_t<decltype(c)>;
        view.visible = c->visible;
        view.enabled = c->enabled;
        if constexpr (std::is_same_v<T, forms::TextBox>) {
          view.text = &c->text;
        } else if constexpr (requires { c->caption; }) {
          view.text = &c->caption;
        }
        if constexpr (std::is_same_v<T, forms::ListBox>) {
          view.items = &c->items;
          view.value = c->listIndex;
        } else if constexpr (requires { c->value; }) {
          view.value = static_cast<int>(c->value);
        }
      },
      control);
  return view;
}

const ControlRow* FindRow(const FormTable& table, const char* name, int index) {
  for (const ControlRow& row : table.controls) {
    if (std::strcmp(row.name, name) == 0 && row.index == index) return &row;
  }
  return nullptr;
}

}  // namespace skylet::ui
