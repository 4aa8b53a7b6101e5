#include "settings/field_reader.h"

namespace skylet::settings {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace

std::optional<std::string> FieldReader::Next() {
  if (pos_ >= bytes_.size()) return std::nullopt;
  while (pos_ < bytes_.size() && IsBlank(bytes_[pos_])) ++pos_;

  std::string field;
  if (pos_ < bytes_.size() && bytes_[pos_] == '"') {
    const size_t start = pos_ + 1;
    const size_t close = bytes_.find('"', start);
    const size_t end = close == std::string_view::npos ? bytes_.size() : close;
    field.assign(bytes_.substr(start, end - start));
    pos_ = close == std::string_view::npos ? bytes_.size() : close + 1;
    while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !IsLineEnd(bytes_[pos_])) ++pos_;
  } else {
    const size_t start = pos_;
    while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !IsLineEnd(bytes_[pos_])) ++pos_;
    field.assign(bytes_.substr(start, pos_ - start));
  }
  ConsumeSeparator();
  ++fieldsRead_;
  return field;
}

void FieldReader::ConsumeSeparator() {
  if (pos_ >= bytes_.size()) return;
  const char c = bytes_[pos_++];
  if (c == '\r' && pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
}

bool FieldReader::AtEndOfRecords() const {
  for (size_t i = pos_; i < bytes_.size(); ++i) {
    const char c = bytes_[i];
    if (!IsBlank(c) && !IsLineEnd(c) && c != '\x1a') return false;
  }
  return true;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = pos;
    while (end < bytes.size() && !IsLineEnd(bytes[end])) ++end;
    lines.emplace_back(bytes.substr(pos, end - pos));
    pos = end;
    if (pos < bytes.size()) {
      const char c = bytes[pos++];
      if (c == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
    }
  }
  return lines;
}

bool IsCommentLine(std::string_view line) { return !line.empty() && line.front() == ';'; }

}  // namespace skylet::settings
