#include "common/program.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace partners {
namespace {

std::string ProgramPath() {
  char path[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
  return std::string(path, n < sizeof(path) ? n : 0);
}

}  // namespace

std::string ProgramFolder() {
  const std::string path = ProgramPath();
  return path.substr(0, path.find_last_of("\\/") + 1);
}

std::string ProgramName() {
  const std::string path = ProgramPath();
  std::string name = path.substr(path.find_last_of("\\/") + 1);
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::vector<std::string> Arguments() {
  // The C runtime's ANSI argv, split by the usual quoting rules.
  return std::vector<std::string>(__argv + (__argc > 0 ? 1 : 0), __argv + __argc);
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Fail(const std::string& message, int exitCode) {
  WriteLine(STD_ERROR_HANDLE, ProgramName() + ": " + message);
  std::exit(exitCode);
}

std::optional<long long> WholeNumber(const std::string& text, int base) {
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, base);
  if (text.empty() || *end) return std::nullopt;
  return value;
}

std::optional<double> DecimalNumber(const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end) return std::nullopt;
  return value;
}

std::string ArgumentReader::Value(const std::string& option) {
  if (Done()) Fail(option + " needs a value");
  return Take();
}

long long ArgumentReader::Number(const std::string& option, long long minimum) {
  const auto value = WholeNumber(Value(option));
  if (!value || *value < minimum) {
    Fail(option + " needs a whole number of at least " + std::to_string(minimum));
  }
  return *value;
}

double ArgumentReader::Decimal(const std::string& option, double minimum) {
  const auto value = DecimalNumber(Value(option));
  if (!value || !(*value >= minimum)) {
    Fail(option + " needs a number of at least " + std::to_string(minimum));
  }
  return *value;
}

std::string Escaped(const std::string& text, bool hexControls) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (hexControls && (byte < 0x20 || byte == 0x7f)) {
      char hex[8];
      std::snprintf(hex, sizeof(hex), "\\x%02X", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

void WriteLine(unsigned long stream, const std::string& line) {
  const std::string bytes = line + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
            nullptr);
}

bool WaitFor(unsigned long long ms, const std::function<bool()>& found, unsigned pollMs) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  for (;;) {
    if (found()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(pollMs);
  }
}

}  // namespace partners
