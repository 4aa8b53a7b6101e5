#pragma once
// The window "Verkehr": the station's traffic as it goes, newest line at the
// bottom. Not a dialog: the main window keeps its input while it is open, and
// it may stay open all night (it holds no more lines than the record does).
// Its controls carry their names for programs outside, as the forms' do.
#include <windows.h>

#include <array>
#include <cstdint>

#include "station/station.h"
#include "win32/owned.h"

namespace skylet::win32 {

class TrafficWindow {
 public:
  TrafficWindow(Station& st, HINSTANCE instance) : st_(st), instance_(instance) {}
  // Creates, shows and hides the window as the model says.
  void Sync(HWND owner);
  // Ctrl+C copies, Tab moves between the controls; true when used.
  bool PreTranslate(MSG& msg);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  bool Create(HWND owner);
  void Layout();
  void Refill();
  void TakeNew();
  int Rows() const;
  void Scroll(WPARAM request);
  void SyncBar(bool always);
  void Copy();
  void KeepPlace();

  Station& st_;
  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  HWND list_ = nullptr;
  // The list's scroll bar, a control of its own: a list box repaints its
  // bar with every line added, which under load costs more than all the
  // rest of the window; this one is set only when its thumb would move.
  HWND bar_ = nullptr;
  int barThumb_ = -1, barAt_ = -1;  // the thumb's length and place as last set, in pixels
  ULONGLONG barSetAt_ = 0;          // when it was set (GetTickCount64)
  std::array<HWND, traffic::kLinks> links_{};
  HWND copy_ = nullptr;
  HWND clear_ = nullptr;
  Gdi<HFONT> font_;
  Gdi<HFONT> fixed_;
  uint64_t taken_ = 0;  // the record's count of lines when the list last took its new ones
};

}  // namespace skylet::win32
