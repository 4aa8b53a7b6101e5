#pragma once
// The main window: a small fixed panel with the tracked satellite, its
// frequencies, modes and position, and the three click-switches. The
// conversations of the hidden link labels, the timer's work and the serial
// port of the window are the station's services (see app/station.h); this
// holds what is shown. Its look is the table in ui/ausgabe_layout.h.
#include <cstdint>
#include <string>

#include "ui/controls.h"
#include "ui/form_layout.h"

namespace skylet::ui {

// The controls of the window; the values are their Win32 control ids.
enum class AusGabeCtl : int {
  picFocus = 100,
  frHaupt,
  lblRotor,
  lblCat,
  lblPark,
  lblUebIntV,
  lblIntV,
  lblUebKorr,
  lblKorr,
  lblSat,
  edSat,
  lblDwnl,
  edRX,
  edDM,
  lblUpl,
  edTX,
  edUM,
  lblAz,
  edAZ,
  lblEl,
  edEL,
  edUeMA,
  edMA,
  lblDDE,
  RotClientConv,
  CatClientConv,
  ArsClientConv,
};

enum class AusGabeMenu : int {
  MenCat = 1001,
  menRot,
  menMode,
  menOpt,
  menQuit,
  menHelp,
};

struct AusGabe {
  static constexpr int kClientWidthTwips = 3180;
  static constexpr int kClientHeightTwips = 3435;

  // Every label and box starts with its design caption from the layout.
  AusGabe();

  std::string caption;
  double Top = 0;   // twips
  double Left = 0;  // twips
  WindowState windowState = WindowState::Normal;

  // The three switches.
  Label lblRotor;
  Label lblCat;
  Label lblPark;

  Label lblUebIntV;
  Label lblIntV;  // the frequency step in Hz
  Label lblUebKorr;
  TextBox lblKorr;  // correction of the current satellite in Hz

  Label lblSat;
  TextBox edSat;
  Label lblDwnl;
  TextBox edRX;
  TextBox edDM;
  Label lblUpl;
  TextBox edTX;
  TextBox edUM;
  Label lblAz;
  TextBox edAZ;
  Label lblEl;
  TextBox edEL;
  TextBox edUeMA;
  TextBox edMA;

  // The invisible link labels; lblDDE's caption is the last tracking record.
  Label lblDDE;
  Label RotClientConv;
  Label CatClientConv;
  Label ArsClientConv;

  // The control that has the keyboard focus. A handler that moves the focus
  // sets it; the renderer follows.
  AusGabeCtl focus = AusGabeCtl::picFocus;

  bool Timer1Enabled = false;  // the one-second record pull
  // Set while a record pull runs, so a timer tick that arrives meanwhile
  // (a message box pumps messages) does not start a second one.
  bool pullRunning = false;

  // Where the dialogs open, relative to this window's top-left corner.
  int16_t DlgOffX = 0;  // twips
  int16_t DlgOffY = 0;  // twips

  // What the renderer shows for control `id` (an AusGabeCtl value).
  ControlState State(int id) const;
};

}  // namespace skylet::ui
