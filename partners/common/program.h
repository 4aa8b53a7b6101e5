#pragma once
// What a partner program knows about itself: its file, its folder and its
// command line (as Windows-1252 bytes, like every text it handles).
#include <string>
#include <vector>

namespace partners {

std::string ProgramFolder();  // with a trailing backslash
std::string ProgramName();    // file name without extension: "RotServer"
std::vector<std::string> Arguments();  // without the program itself
bool FileExists(const std::string& path);

// For a wrong command line: says so on stderr and ends with exit code 2.
[[noreturn]] void Fail(const std::string& message);

// Steps through the arguments: `--name value` options and flags.
class ArgumentReader {
 public:
  explicit ArgumentReader(std::vector<std::string> arguments) : args_(std::move(arguments)) {}
  bool Done() const { return next_ >= args_.size(); }
  const std::string& Take() { return args_[next_++]; }
  // The value after the option just taken; Fail()s when there is none.
  std::string Value(const std::string& option);
  long long Number(const std::string& option, long long minimum);
  double Decimal(const std::string& option, double minimum);

 private:
  std::vector<std::string> args_;
  size_t next_ = 0;
};

}  // namespace partners
