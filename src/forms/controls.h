#pragma once
// What the controls of a form show at run time, one small value type per
// kind of control. Handlers and the subsystems write these; the Windows
// layer pushes them to the real windows after each event, and tests read
// them directly. A member's initial value is the control's design state, so
// a form created anew (`st.catSteuer = {}`) looks as it did at its first
// showing.
#include <string>
#include <utility>
#include <vector>

namespace skylet::forms {

struct Frame {
  std::string caption;
  bool visible = true;
  bool enabled = true;
};

struct Label {
  std::string caption;
  bool visible = true;
  bool enabled = true;
};

struct TextBox {
  std::string text;
  bool visible = true;
  bool enabled = true;
};

// Takes the keyboard focus and the keys; shows nothing.
struct PictureBox {
  bool visible = true;
  bool enabled = true;
};

struct CommandButton {
  std::string caption;
  bool visible = true;
  bool enabled = true;
};

struct CheckBox {
  std::string caption;
  int value = 0;  // 0 unchecked, 1 checked
  bool visible = true;
  bool enabled = true;
};

// One button of a group: choosing it clears the others of its frame.
struct OptionButton {
  std::string caption;
  bool value = false;
  bool visible = true;
  bool enabled = true;
};

struct ListBox {
  std::vector<std::string> items;
  int listIndex = -1;  // -1: nothing selected
  bool visible = true;
  bool enabled = true;

  void Clear() {
    items.clear();
    listIndex = -1;
  }
  void AddItem(std::string item) { items.push_back(std::move(item)); }
  // Selecting an item that does not exist leaves the selection as it is:
  // an empty list has nothing to select.
  bool Select(int index) {
    if (index < 0 || index >= static_cast<int>(items.size())) return false;
    listIndex = index;
    return true;
  }
};

// A small vertical scroll bar used as a spin button: only the direction of a
// click means something, never the value itself. One click on an arrow
// moves the value by one within the range and raises one change, whose
// direction stands in `step`: every click is one step its way, also at the
// end of the range and after the dialog was created anew.
struct ScrollBar {
  static constexpr int kMin = -180;
  static constexpr int kMax = 180;
  int value = 0;
  int step = 0;  // +1 up, -1 down: the click that raised the latest change
  bool visible = true;
  bool enabled = true;
};

enum class WindowState { Normal, Minimized, Maximized };

// What every form has: its caption, place (twips, top-left corner of the
// window), whether it is created and shown, and which control has the keys.
struct FormState {
  std::string caption;
  double Left = 0;
  double Top = 0;
  WindowState windowState = WindowState::Normal;
  // A form exists from its first use until it is unloaded; an unloaded form
  // is created anew, with its design state, when it is next needed.
  bool loaded = false;
  // Shown on the screen. A dialog shown from a menu is modal: the main
  // window takes no input while it is visible, but its timer runs on.
  bool visible = false;
  // Documented name of the control with the keyboard focus; a handler that
  // moves the focus sets it, the window follows. Empty: the window's choice.
  std::string focus;
};

}  // namespace skylet::forms
