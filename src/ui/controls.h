#pragma once
// Portable state of the controls a form shows. The Win32 renderer pushes this
// state to the real windows after each event; tests read it directly.
#include <string>
#include <vector>

namespace skylet::ui {

struct Label {
  std::string caption;
  bool visible = true;
};

struct TextBox {
  std::string text;
  bool enabled = true;
};

struct ListBox {
  std::vector<std::string> items;
  int listIndex = -1;  // -1: nothing selected

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

// A small vertical scroll bar used as a spin button (range -180..180): only
// the direction of a change means something, never the value itself.
struct ScrollBar {
  bool enabled = true;
  int value = 0;
};

enum class WindowState { Normal, Minimized, Maximized };

}  // namespace skylet::ui
