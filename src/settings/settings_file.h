#pragma once
// One settings file opened for reading: its fields in order, each converted
// to the type the layout asks for. A missing file, a missing field or a value
// of the wrong type is noted in the report with the file's full path, and
// the variable meant to receive it keeps its value.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_store.h"
#include "settings/field_reader.h"
#include "settings/hex.h"
#include "station/settings_report.h"

namespace skylet::settings {

// A field's text as a problem line quotes it: in quotes, control characters
// as "?" (a CR would break the message's lines, a NUL end it) and cut after
// a few dozen characters, so a binary or huge file still gives one short
// line that the operator can read.
std::string Quoted(std::string_view text);

class SettingsFile {
 public:
  // A file that may be absent (`optional`) is no problem when missing.
  SettingsFile(platform::FileStore& files, Report& report, const std::string& folder,
               const std::string& name, bool optional = false);

  bool Loaded() const { return loaded_; }
  const std::string& Path() const { return path_; }

  // Field reading. Each returns false and leaves `out` untouched when the
  // field is missing or does not hold a value of its type.
  bool Text(std::string& out);
  bool Integer(int16_t& out);
  bool Single(float& out);
  bool Double(double& out);
  // `raw` receives the field text also when the value is refused.
  bool HexByte(uint8_t& out, HexByteSpan span, std::string* raw = nullptr);

  // Records until the end of the file: true when no further record starts.
  bool AtEndOfRecords() const { return fields_.AtEndOfRecords(); }

  // Line reading: every line of the file.
  std::vector<std::string> Lines() const { return SplitLines(bytes_); }

  // A file of garbage has a problem in field after field; the first few
  // name it, one more line says that there are more.
  void Note(const std::string& problem);

 private:
  bool NextField(std::string& field);
  bool Number(double& out);

  Report& report_;
  std::string path_;
  std::string bytes_;
  bool loaded_ = false;
  bool shortNoted_ = false;
  int notes_ = 0;
  FieldReader fields_{std::string_view{}};
};

}  // namespace skylet::settings
