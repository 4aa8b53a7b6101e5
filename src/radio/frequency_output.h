#pragma once
// The satellite's frequencies: tuning the radio and showing them in the main
// window.
namespace skylet {
struct Station;
}

namespace skylet::radio {

// Tunes the radio to the downlink `dn` and uplink `up` (kHz, corrected; an
// uplink of 0 means none) when the larger one has moved by at least the
// step since the last send, or when LastCatFreq was cleared to force it,
// through the driver of the way in use (its SendFrequencies; the Icom one is
// SendIcomFreq). A send that fails is told once and tried again with the
// next record.
void SendCatFreq(Station& st, double dn, double up);

// Shows DownFreq in edRX and UpFreq in edTX, in kHz with at least six whole
// digits and three decimals ("145950.000", "028430.500").
void ShowCatFreq(Station& st);

}  // namespace skylet::radio
