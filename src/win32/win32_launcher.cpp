#include "win32/win32_launcher.h"

#include <shellapi.h>

#include <vector>

#include "win32/owned.h"

namespace skylet::win32 {

void Launcher::ShellOpen(const std::string& verb, const std::string& file,
                         const std::string& parameters, const std::string& folder,
                         platform::ShowCommand show) {
  ShellExecuteA(nullptr, verb.c_str(), file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                folder.empty() ? nullptr : folder.c_str(), static_cast<int>(show));
}

platform::StartResult Launcher::Start(const std::string& commandLine, platform::ShowCommand show) {
  // Started like a command typed into the run box: the first word is the
  // program (".exe" may be left out), and nothing waits for it.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    const DWORD err = GetLastError();
    if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND || err == ERROR_INVALID_NAME ||
        err == ERROR_BAD_PATHNAME || err == ERROR_DIRECTORY) {
      return platform::StartResult::FileNotFound;
    }
    return platform::StartResult::OtherFailure;
  }
  // Nothing here waits for the program to end, but its handles are ours.
  const KernelHandle process(pi.hProcess);
  const KernelHandle thread(pi.hThread);
  // Let the new program come up far enough to read its messages before we
  // knock on its door; bounded, since a console program never goes idle.
  WaitForInputIdle(process.Get(), 5000);
  return platform::StartResult::Started;
}

void ProcessControl::EndNow(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

}  // namespace skylet::win32
