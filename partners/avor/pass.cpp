#include "avor/pass.h"

#include <cmath>
#include <cstdio>

namespace partners {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180;
constexpr double kEarthRadiusKm = 6371;
constexpr double kAltitudeKm = 800;
constexpr double kOrbitRadiusKm = kEarthRadiusKm + kAltitudeKm;
constexpr double kEarthMuKm3PerS2 = 398600.4418;
constexpr double kLightKmPerS = 299792.458;
constexpr double kInclination = 70 * kDegree;
constexpr double kTrackOffset = 8 * kDegree;  // closest approach, as seen from the Earth's centre
constexpr double kStationLatitude = 48.1 * kDegree;
constexpr double kStationLongitude = 11.6 * kDegree;
// The program starts this far along the orbit before the point closest to
// the station: a few degrees before the satellite rises.
constexpr double kStartBeforeClosest = 32 * kDegree;
constexpr double kUplinkHz = 145950000;
constexpr double kDownlinkHz = 435800000;

struct Vec {
  double x, y, z;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator*(double k, Vec a) { return {k * a.x, k * a.y, k * a.z}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The orbit plane, spanned by P (towards the ascending node) and Q, turned
// about the polar axis so that the track passes kTrackOffset beside the
// station: the station's unit vector s makes sin(offset) = s . (P x Q).
struct Geometry {
  Vec station, east, north, up;
  Vec p, q;
  double closestArgument;  // argument of latitude nearest the station
  double meanMotion;       // radians per second

  Geometry() {
    const double lat = kStationLatitude, lon = kStationLongitude;
    up = {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
    east = {-std::sin(lon), std::cos(lon), 0};
    north = {-std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon), std::cos(lat)};
    station = kEarthRadiusKm * up;
    const double node =
        lon + std::asin((std::sin(kTrackOffset) - std::sin(lat) * std::cos(kInclination)) /
                        (std::cos(lat) * std::sin(kInclination)));
    p = {std::cos(node), std::sin(node), 0};
    q = {-std::sin(node) * std::cos(kInclination), std::cos(node) * std::cos(kInclination),
         std::sin(kInclination)};
    closestArgument = std::atan2(Dot(up, q), Dot(up, p));
    meanMotion = std::sqrt(kEarthMuKm3PerS2 / (kOrbitRadiusKm * kOrbitRadiusKm * kOrbitRadiusKm));
  }
};

const Geometry& TheGeometry() {
  static const Geometry geometry;
  return geometry;
}

std::string Decimal1(double value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.1f", value);
  return text;
}

}  // namespace

PassPoint SyntheticPass::At(double seconds) const {
  const Geometry& g = TheGeometry();
  const double u = g.closestArgument - kStartBeforeClosest + g.meanMotion * seconds * speed_;
  const Vec position = kOrbitRadiusKm * (std::cos(u) * g.p + std::sin(u) * g.q);
  const Vec velocity =
      (kOrbitRadiusKm * g.meanMotion) * (-std::sin(u) * g.p + std::cos(u) * g.q);
  const Vec look = position - g.station;
  const double range = std::sqrt(Dot(look, look));
  const double rangeRate = Dot(look, velocity) / range;  // km/s, positive while receding

  PassPoint point;
  point.elevation = std::asin(Dot(look, g.up) / range) / kDegree;
  point.azimuth = std::atan2(Dot(look, g.east), Dot(look, g.north)) / kDegree;
  if (point.azimuth < 0) point.azimuth += 360;
  point.downlinkHz = std::llround(kDownlinkHz * (1 - rangeRate / kLightKmPerS));
  point.uplinkHz = std::llround(kUplinkHz * (1 + rangeRate / kLightKmPerS));
  const double turn = std::fmod(u, 2 * kPi);
  point.phase = static_cast<int>((turn < 0 ? turn + 2 * kPi : turn) / (2 * kPi) * 256) % 256;
  return point;
}

std::string PassRecord(const std::string& name, const PassPoint& point) {
  if (point.elevation < 0) return "**";
  const std::string elevation = Decimal1(point.elevation);
  std::string azimuth = Decimal1(point.azimuth);
  if (azimuth == "360.0") azimuth = "0.0";
  return "SN" + name + " AZ" + azimuth + " EL" + elevation + " UP" +
         std::to_string(point.uplinkHz) + " UMUSB DN" + std::to_string(point.downlinkHz) +
         " DMLSB MA" + std::to_string(point.phase) + "\r";
}

}  // namespace partners
