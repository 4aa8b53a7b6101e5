#include "avor/script.h"

#include <fstream>
#include <iterator>

namespace partners {

std::optional<ScriptRecords> ScriptRecords::Load(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    const size_t next = end == std::string::npos ? bytes.size() : end + 1;
    if (end == std::string::npos) end = bytes.size();
    if (end > start && bytes[end - 1] == '\r' && end < bytes.size()) --end;  // CR LF
    lines.push_back(bytes.substr(start, end - start));
    start = next;
  }
  if (lines.empty()) return std::nullopt;
  return ScriptRecords(std::move(lines));
}

std::string ScriptRecords::Next() {
  const std::string& line = lines_[next_];
  if (next_ + 1 < lines_.size()) ++next_;
  return line;
}

}  // namespace partners
