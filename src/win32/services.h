#pragma once
// Win32 implementations of the platform services.
#include <windows.h>

#include "platform/alerts.h"
#include "platform/clock.h"
#include "platform/data_folders.h"
#include "platform/file_store.h"
#include "platform/screen.h"

namespace skylet::win32 {

class FileStore : public platform::FileStore {
 public:
  platform::FileRead Read(const std::string& path) override;
  bool Write(const std::string& path, const std::string& bytes, std::string& error) override;
};

class DataFolders : public platform::DataFolders {
 public:
  std::string ProgramFolder() override;
  platform::AppDataLookup RoamingAppData() override;
};

class Alerts : public platform::Alerts {
 public:
  void ShowMessage(const std::string& text, const std::string& title) override;
  void Beep() override;
  // Message boxes belong to the main window once it is shown.
  void SetOwner(HWND owner) { owner_ = owner; }

 private:
  HWND owner_ = nullptr;
};

class Clock : public platform::Clock {
 public:
  Clock();
  double MonotonicSeconds() override;
  double SecondsSinceMidnight() override;
  void SleepMs(int milliseconds) override;

 private:
  double ticksPerSecond_ = 1;
};

class Screen : public platform::Screen {
 public:
  int WidthTwips() override;
  int HeightTwips() override;
};

// Pixels per inch of the screen, horizontally and vertically.
int ScreenDpiX();
int ScreenDpiY();

}  // namespace skylet::win32
