#include "common/antenna_dial.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>

namespace partners {
namespace {

constexpr double kRadian = 3.14159265358979323846 / 180;
const COLORREF kFace = RGB(236, 242, 250);
const COLORREF kRim = RGB(90, 90, 90);
const COLORREF kNeedle = RGB(200, 0, 0);
// Of a partner window's 480 pixels: the log keeps room for its longest
// events (a CAT server's frequency commands).
constexpr int kPanelWidth = 200;

struct AntennaPosition {
  std::optional<int> azimuth;    // degrees; nothing until a position came
  std::optional<int> elevation;
};

// A whole number as the position commands write it: digits, perhaps a
// minus (an offset can push the target below zero). Short enough for int.
std::optional<int> WholeNumber(const std::string& text) {
  const size_t digits = text.size() - (text.starts_with('-') ? 1 : 0);
  if (digits == 0 || digits > 6) return std::nullopt;
  if (!std::all_of(text.end() - static_cast<std::ptrdiff_t>(digits), text.end(),
                   [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  return std::stoi(text);
}

// A GDI object selected into a DC for one scope, then put back and deleted.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
  ~Selected() {
    SelectObject(dc_, old_);
    DeleteObject(object_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ object_;
  HGDIOBJ old_;
};

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

// The point `length` from (x, y) in the direction `degrees`, counted
// clockwise from straight up: a compass bearing.
POINT Toward(int x, int y, double degrees, double length) {
  return {x + static_cast<int>(std::lround(length * std::sin(degrees * kRadian))),
          y - static_cast<int>(std::lround(length * std::cos(degrees * kRadian)))};
}

void Caption(HDC dc, int centreX, int top, const char* name, const std::optional<int>& degrees) {
  const std::string text =
      std::string(name) + (degrees ? " " + std::to_string(*degrees) + "\xB0" : " ---");
  SIZE size;
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  TextOutA(dc, centreX - size.cx / 2, top, text.c_str(), static_cast<int>(text.size()));
}

void Needle(HDC dc, int x, int y, POINT tip) {
  Selected pen(dc, CreatePen(PS_SOLID, 3, kNeedle));
  Line(dc, x, y, tip.x, tip.y);
}

void Compass(HDC dc, int centreX, int centreY, int radius, const std::optional<int>& azimuth) {
  {
    Selected pen(dc, CreatePen(PS_SOLID, 1, kRim));
    Selected face(dc, CreateSolidBrush(kFace));
    Ellipse(dc, centreX - radius, centreY - radius, centreX + radius + 1, centreY + radius + 1);
    for (int bearing = 0; bearing < 360; bearing += 30) {
      const POINT outer = Toward(centreX, centreY, bearing, radius);
      const POINT inner = Toward(centreX, centreY, bearing, radius * (bearing % 90 ? 0.88 : 0.78));
      Line(dc, inner.x, inner.y, outer.x, outer.y);
    }
  }
  // sin and cos fold a target beyond 360 or below 0 onto the dial.
  if (azimuth) Needle(dc, centreX, centreY, Toward(centreX, centreY, *azimuth, radius * 0.85));
  // After the needle, so that a needle pointing north does not hide it.
  SIZE size;
  GetTextExtentPoint32A(dc, "N", 1, &size);
  TextOutA(dc, centreX - size.cx / 2, centreY - radius * 3 / 4, "N", 1);
}

// A quarter circle on the horizon line, the zenith straight above (x, y).
void ElevationArc(HDC dc, int x, int y, int radius, const std::optional<int>& elevation) {
  {
    Selected pen(dc, CreatePen(PS_SOLID, 1, kRim));
    Selected face(dc, CreateSolidBrush(kFace));
    Pie(dc, x - radius, y - radius, x + radius + 1, y + radius + 1, x + radius, y, x, y - radius);
    for (int degrees = 30; degrees < 90; degrees += 30) {
      const POINT outer = Toward(x, y, 90 - degrees, radius);
      const POINT inner = Toward(x, y, 90 - degrees, radius * 0.88);
      Line(dc, inner.x, inner.y, outer.x, outer.y);
    }
  }
  // The needle stops at the horizon and the zenith; the caption shows the
  // number as it came (an elevation offset can push it beyond 90).
  if (elevation) {
    Needle(dc, x, y, Toward(x, y, 90 - std::clamp(*elevation, 0, 90), radius * 0.92));
  }
}

// The rotor server's position command. False, and `position` untouched, for
// anything else.
bool ReadServerPosition(const std::string& command, AntennaPosition& position) {
  const size_t blank = command.find(' ');
  if (blank == std::string::npos) return false;
  const auto azimuth = WholeNumber(command.substr(0, blank));
  const auto elevation = WholeNumber(command.substr(blank + 1));
  if (!azimuth || !elevation) return false;
  position = {azimuth, elevation};
  return true;
}

// Arswin's pokes, one axis each. False, and `position` untouched, for
// anything else.
bool ReadArswinPoke(const std::string& text, AntennaPosition& position) {
  const auto value = WholeNumber(text.size() > 3 ? text.substr(3) : "");
  if (!value) return false;
  if (text.starts_with("GA:")) {
    position.azimuth = value;
  } else if (text.starts_with("GE:")) {
    position.elevation = value;
  } else {
    return false;
  }
  return true;
}

// Both dials side by side in `area`, captions in the DC's font.
void DrawAntennaDial(HDC dc, const RECT& area, const AntennaPosition& position) {
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  const int lineHeight = metrics.tmHeight;
  const int half = static_cast<int>(area.right - area.left) / 2;
  const int size = std::min<int>(area.bottom - area.top - lineHeight - 8, half - 12);
  if (size < 16) return;  // a window shrunk too far to show anything readable
  const int top = area.top + 4;
  const int captionTop = top + size + 2;

  const int compassX = area.left + half / 2;
  Compass(dc, compassX, top + size / 2, size / 2, position.azimuth);
  Caption(dc, compassX, captionTop, "Az", position.azimuth);

  const int arcX = area.left + half + (half - size) / 2;
  ElevationArc(dc, arcX, top + size, size, position.elevation);
  Caption(dc, area.left + half + half / 2, captionTop, "El", position.elevation);
}

}  // namespace

void ShowAntenna(StatusWindow& window, DdeHandlers& handlers,
                 const std::vector<std::string>& topics) {
  const auto serves = [&](const char* wanted) {
    return std::any_of(topics.begin(), topics.end(),
                       [&](const std::string& topic) { return SameName(topic, wanted); });
  };
  if (!serves("RotServConv") && !serves("RCI")) return;
  auto position = std::make_shared<AntennaPosition>();
  window.SetPanel(kPanelWidth, [position](HDC dc, const RECT& area) {
    DrawAntennaDial(dc, area, *position);
  });
  // Only what the server took turns the antenna: a refused command does not.
  handlers.execute = [&window, position, taken = std::move(handlers.execute)](
                         const std::string& topic, const std::string& command) {
    const bool accepted = taken && taken(topic, command);
    if (accepted && SameName(topic, "RotServConv") && ReadServerPosition(command, *position)) {
      window.Redraw();
    }
    return accepted;
  };
  handlers.poke = [&window, position, taken = std::move(handlers.poke)](
                      const std::string& topic, const std::string& item, const std::string& text) {
    const bool accepted = taken && taken(topic, item, text);
    if (accepted && SameName(topic, "RCI") && ReadArswinPoke(text, *position)) window.Redraw();
    return accepted;
  };
}

}  // namespace partners
