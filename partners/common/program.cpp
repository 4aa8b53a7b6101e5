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

void Fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", ProgramName().c_str(), message.c_str());
  std::fflush(stderr);
  std::exit(2);
}

std::string ArgumentReader::Value(const std::string& option) {
  if (Done()) Fail(option + " needs a value");
  return Take();
}

long long ArgumentReader::Number(const std::string& option, long long minimum) {
  const std::string text = Value(option);
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end || value < minimum) {
    Fail(option + " needs a whole number of at least " + std::to_string(minimum));
  }
  return value;
}

double ArgumentReader::Decimal(const std::string& option, double minimum) {
  const std::string text = Value(option);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end || !(value >= minimum)) {
    Fail(option + " needs a number of at least " + std::to_string(minimum));
  }
  return value;
}

}  // namespace partners
