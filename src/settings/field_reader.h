#pragma once
// The two ways the settings files are read.
//
// Field reading: a sequence of fields separated by commas or line ends, read
// strictly in order; the separator after a field is consumed with it, so one
// field per line and several on one line separated by commas read the same.
// Leading blanks are skipped. A field that begins with a double quote runs to
// the next double quote and the quotes are dropped (anything between the
// closing quote and the separator is ignored); otherwise it runs to the next
// comma or line end.
//
// Line reading: each line whole, without its line end.
//
// Line ends are CR LF as the files are written, but a lone CR or LF is taken
// as one too, so a file edited on another system still reads.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skylet::settings {

class FieldReader {
 public:
  explicit FieldReader(std::string_view bytes) : bytes_(bytes) {}

  // The next field's text, or nothing when the file has ended.
  std::optional<std::string> Next();

  // True when nothing but blanks, line ends or an end-of-file mark is left:
  // no further record can start. A trailing empty line is not a record.
  bool AtEndOfRecords() const;

  int FieldsRead() const { return fieldsRead_; }

 private:
  void ConsumeSeparator();

  std::string_view bytes_;
  size_t pos_ = 0;
  int fieldsRead_ = 0;
};

// All lines of a file, in order, without line ends. A last line without a
// line end counts; the empty remainder after a final line end does not.
std::vector<std::string> SplitLines(std::string_view bytes);

// Lines whose first character is ";" are comments; the others are data.
bool IsCommentLine(std::string_view line);

}  // namespace skylet::settings
