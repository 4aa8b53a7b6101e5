#include "settings/settings_file.h"

#include <cmath>
#include <limits>

#include "text/format.h"

namespace skylet::settings {

std::string Quoted(std::string_view text) {
  constexpr size_t kShown = 40;
  std::string out = "\"";
  for (const char c : text.substr(0, kShown)) {
    const auto byte = static_cast<unsigned char>(c);
    out += byte < 0x20 || byte == 0x7f ? '?' : c;
  }
  if (text.size() > kShown) out += "...";
  return out + "\"";
}

SettingsFile::SettingsFile(platform::FileStore& files, Report& report, const std::string& folder,
                           const std::string& name, bool optional)
    : report_(report), path_(folder + name) {
  platform::FileRead read = files.Read(path_);
  switch (read.status) {
    case platform::FileRead::Status::Ok:
      bytes_ = std::move(read.bytes);
      loaded_ = true;
      break;
    case platform::FileRead::Status::Missing:
      if (!optional) Note("Datei nicht gefunden");
      break;
    case platform::FileRead::Status::Unreadable:
      Note("Datei kann nicht gelesen werden");
      break;
  }
  fields_ = FieldReader(bytes_);
}

void SettingsFile::Note(const std::string& problem) {
  constexpr int kNamed = 3;
  ++notes_;
  if (notes_ <= kNamed) {
    report_.Add(path_, problem);
  } else if (notes_ == kNamed + 1) {
    report_.Add(path_, "und weitere Fehler");
  }
}

bool SettingsFile::NextField(std::string& field) {
  if (!loaded_) return false;
  const int number = fields_.FieldsRead() + 1;
  std::optional<std::string> next = fields_.Next();
  if (!next) {
    // Only the first missing field is worth a line: the rest follow from it.
    if (!shortNoted_) Note("zu wenige Felder, Feld " + std::to_string(number) + " fehlt");
    shortNoted_ = true;
    return false;
  }
  field = std::move(*next);
  return true;
}

bool SettingsFile::Text(std::string& out) {
  std::string field;
  if (!NextField(field)) return false;
  out = std::move(field);
  return true;
}

bool SettingsFile::Number(double& out) {
  std::string field;
  if (!NextField(field)) return false;
  std::optional<double> value = text::ParseNumber(field);
  if (!value || !std::isfinite(*value)) {
    Note("Feld " + std::to_string(fields_.FieldsRead()) + " ist keine Zahl: " + Quoted(field));
    return false;
  }
  out = *value;
  return true;
}

bool SettingsFile::Integer(int16_t& out) {
  double value = 0;
  if (!Number(value)) return false;
  std::optional<int16_t> whole = text::ToInteger16(value);
  if (!whole) {
    Note("Feld " + std::to_string(fields_.FieldsRead()) + " liegt au\xdf" "erhalb -32768..32767: " +
         text::DecimalText(value));
    return false;
  }
  out = *whole;
  return true;
}

bool SettingsFile::Single(float& out) {
  double value = 0;
  if (!Number(value)) return false;
  if (std::fabs(value) > std::numeric_limits<float>::max()) {
    Note("Feld " + std::to_string(fields_.FieldsRead()) + " ist zu gro\xdf");
    return false;
  }
  out = static_cast<float>(value);
  return true;
}

bool SettingsFile::Double(double& out) { return Number(out); }

bool SettingsFile::HexByte(uint8_t& out, HexByteSpan span, std::string* raw) {
  std::string field;
  if (!NextField(field)) return false;
  if (raw) *raw = field;
  std::optional<uint8_t> value = ParseHexByte(field, span);
  if (!value) {
    Note("Feld " + std::to_string(fields_.FieldsRead()) + " ist kein Hex-Byte (0..FF): " +
         Quoted(field));
    return false;
  }
  out = *value;
  return true;
}

}  // namespace skylet::settings
