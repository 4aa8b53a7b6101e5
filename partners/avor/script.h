#pragma once
// Records from a script file: one record per line (CR LF or LF ends a line
// and is not part of it), one line per request in order; after the last line
// the last line again and again.
#include <optional>
#include <string>
#include <vector>

namespace partners {

class ScriptRecords {
 public:
  // Nothing when the file cannot be read or holds no line.
  static std::optional<ScriptRecords> Load(const std::string& path);
  std::string Next();

 private:
  explicit ScriptRecords(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  std::vector<std::string> lines_;
  size_t next_ = 0;
};

}  // namespace partners
