#include "settings/settings_file.h"

#include <cmath>
#include <limits>

#include "text/format.h"

namespace skylet::settings {

SettingsFile::SettingsFile(platform::FileStore& files, Report& report, const std::string& folder,
                           const std::string& name)
    : report_(report), path_(folder + name) {
  platform::FileRead read = files.Read(path_);
  switch (read.status) {
    case platform::FileRead::Status::Ok:
      bytes_ = std::move(read.bytes);
      loaded_ = true;
      break;
    case platform::FileRead::Status::Missing:
      Note("Datei nicht gefunden");
      break;
    case platform::FileRead::Status::Unreadable:
      Note("Datei kann nicht gelesen werden");
      break;
  }
  fields_ = FieldReader(bytes_);
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
    Note("Feld " + std::to_string(fields_.FieldsRead()) + " ist keine Zahl: \"" + field + "\"");
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
    Note("Feld " + std::to_string(fields_.FieldsRead()) + " ist kein Hex-Byte (0..FF): \"" +
         field + "\"");
    return false;
  }
  out = *value;
  return true;
}

}  // namespace skylet::settings
