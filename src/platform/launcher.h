#pragma once
// Starting other programs: the shell's "open" of a file, and the start of a
// command line without waiting for it.
#include <string>

namespace skylet::platform {

// Show commands as the shell knows them.
enum class ShowCommand : int {
  Hide = 0,
  Normal = 1,
  Minimized = 2,
  ShowNoActivate = 4,
  MinimizedNoFocus = 6,
};

enum class StartResult { Started, FileNotFound, OtherFailure };

class Launcher {
 public:
  virtual ~Launcher() = default;
  // The shell's open with a verb; its result is of no interest to the caller.
  virtual void ShellOpen(const std::string& verb, const std::string& file,
                         const std::string& parameters, const std::string& folder,
                         ShowCommand show) = 0;
  // Starts a command line and returns at once. FileNotFound when the program
  // file or its folder does not exist.
  virtual StartResult Start(const std::string& commandLine, ShowCommand show) = 0;
};

}  // namespace skylet::platform
