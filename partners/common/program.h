#pragma once
// What a partner program knows about itself: its file, its folder and its
// command line (as Windows-1252 bytes, like every text it handles). The
// end-to-end driver skydrive.exe shares its number reading,
// Fail(), Escaped(), WriteLine() and WaitFor().
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace partners {

std::string ProgramFolder();  // with a trailing backslash
std::string ProgramName();    // file name without extension: "RotServer"
std::vector<std::string> Arguments();  // without the program itself
bool FileExists(const std::string& path);

// Says so on stderr and ends the program: with exit code 2 for a wrong
// command line, or the code given.
[[noreturn]] void Fail(const std::string& message, int exitCode = 2);

// The whole text as a number (strtoll / strtod rules), or nothing.
std::optional<long long> WholeNumber(const std::string& text, int base = 10);
std::optional<double> DecimalNumber(const std::string& text);

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

// A text on one line of a log or of a tool's output: \ CR LF TAB become
// \\ \r \n \t and, with `hexControls`, other control bytes \xHH.
std::string Escaped(const std::string& text, bool hexControls = true);

// `line` and a LF, unbuffered, to STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
void WriteLine(unsigned long stream, const std::string& line);

// Polls every `pollMs` until found() holds or `ms` have passed.
bool WaitFor(unsigned long long ms, const std::function<bool()>& found, unsigned pollMs = 50);

}  // namespace partners
