#pragma once
#include <windows.h>

#include "platform/launcher.h"
#include "platform/process.h"

namespace skylet::win32 {

class Launcher : public platform::Launcher {
 public:
  void ShellOpen(const std::string& verb, const std::string& file, const std::string& parameters,
                 const std::string& folder, platform::ShowCommand show) override;
  platform::StartResult Start(const std::string& commandLine, platform::ShowCommand show) override;
};

class ProcessControl : public platform::ProcessControl {
 protected:
  void EndNow(int exitCode) override;
};

}  // namespace skylet::win32
