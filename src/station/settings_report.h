#pragma once
// Problems found in the settings files during one start (or one opening of
// the setup dialog). They are gathered and shown to the operator in one
// message, each naming the file with its folder.
#include <string>
#include <vector>

namespace skylet::settings {

struct Problem {
  std::string path;     // folder and file name as opened
  std::string problem;  // what is wrong, in the operator's words
  bool operator==(const Problem&) const = default;
};

class Report {
 public:
  // The same problem found twice (a file read twice) is kept once.
  void Add(const std::string& path, const std::string& problem);
  bool Empty() const { return problems_.empty(); }
  const std::vector<Problem>& Problems() const { return problems_; }
  // The operator's message: a heading line, one line per problem, a closing
  // line, joined by a carriage return alone.
  std::string Message() const;
  void Clear() { problems_.clear(); }

 private:
  std::vector<Problem> problems_;
};

}  // namespace skylet::settings
