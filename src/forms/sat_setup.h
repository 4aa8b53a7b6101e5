#pragma once
// The setup dialog "Setup": radio family, how the rotor follows the
// satellite, the server programs and the start options. Created at its first
// opening, hidden by its buttons, destroyed by its close box.
#include <array>

#include "forms/controls.h"

namespace skylet::forms {

struct SatSetup : FormState {
  SatSetup() { caption = "Setup"; }

  Frame Frame1{" Funkger\xe4t "};
  std::array<OptionButton, 3> optTRX{
      OptionButton{"Yaesu"}, OptionButton{"Icom"}, OptionButton{"Kenwood"}};
  Frame Frame2{" Rotornachf\xfchrung auf Grund:  "};
  std::array<OptionButton, 2> RotOpt{OptionButton{"Zeitablauf"},
                                     OptionButton{"Winkel\xe4nderg."}};
  Label lblIntVR{"Intervall (sek)"};
  TextBox edIntV;  // shows RotIntV; only the spin changes it
  ScrollBar ScrollIntV;
  Label lblMindestaend{"\xc4nderung (Grad)"};
  TextBox edMinWin;  // shows MinWin; only the spin changes it
  ScrollBar ScrollMinWin;
  Frame Frame3{" hor. Nachf\xfchrwinkel "};
  // By index: 0 gain-related ("g"), 1 constant ("k"); shown 1 left of 0.
  std::array<OptionButton, 2> OptWinkel{OptionButton{"gewinnbezogen"},
                                        OptionButton{"konstant"}};
  Label lblBeiStart{"bei Start aktivieren:"};
  CheckBox chkStartOptR{"Rotorsteuerung"};
  CheckBox chkStartOptC{"Catsteuerg."};
  CheckBox ChkStartOptP{"Park-Funkt."};
  CheckBox chkDDER{"Rotor-Server"};
  CheckBox chkDDEC{"Cat-Server"};
  // Hamlib's daemons, for the next start.
  Frame Frame4{" Hamlib (ab n\xe4" "chstem Start) "};
  CheckBox chkHamRig{"rigctld"};
  TextBox edHamRig;
  CheckBox chkHamRot{"rotctld"};
  TextBox edHamRot;
  // By index: 0 two VFOs ("V"), 1 split ("I").
  std::array<OptionButton, 2> optHamUp{OptionButton{"2 VFOs"}, OptionButton{"Split"}};
  CommandButton cmdCancel{"abbrechen"};
  CommandButton cmdOK{"OK"};
};

}  // namespace skylet::forms
