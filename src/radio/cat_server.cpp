#include "radio/cat_server.h"

#include "radio/digits.h"
#include "text/format.h"

namespace skylet::radio::cat_server {

namespace {

// The command is text: 10 GHz and more simply has more digits
// (SF10489550.000 2400050.000).
std::optional<std::string> Frequency(double kHz, std::string_view separator) {
  if (!HzDigits(kHz)) return std::nullopt;
  std::string text = text::Format(kHz, "0000000.000");
  text.replace(text.size() - 4, 1, separator);
  return text;
}

}  // namespace

std::optional<std::string> FrequencyCommand(double downKHz, double upKHz,
                                            std::string_view separator) {
  const std::optional<std::string> down = Frequency(downKHz, separator);
  const std::optional<std::string> up = Frequency(upKHz, separator);
  if (!down || !up) return std::nullopt;
  return "SF" + *down + " " + *up;
}

std::string ModeCommand(std::string_view down, std::string_view up) {
  return "SM" + std::string(down) + " " + std::string(up);
}

}  // namespace skylet::radio::cat_server
