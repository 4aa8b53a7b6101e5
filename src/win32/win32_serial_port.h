#pragma once
#include <windows.h>

#include "platform/serial_port.h"
#include "win32/owned.h"

namespace skylet::win32 {

// The radio's COM port through the Win32 communications API.
class SerialPort : public platform::SerialPort {
 public:
  void SetCommPort(int number) override { number_ = number; }
  void SetSettings(const std::string& settings) override { settings_ = settings; }
  void SetRThreshold(int) override {}        // nothing is read event-driven
  void SetRTSEnable(bool on) override { rts_ = on; }
  void SetInputModeBinary(bool) override {}  // bytes are only counted, never read
  bool Open(std::string& error) override;
  void Close() override;
  bool IsOpen() const override { return static_cast<bool>(handle_); }
  bool Output(const std::string& bytes) override;
  int InBufferCount() override;
  std::string Input() override;
  void DiscardInput() override;

 private:
  std::string Name() const { return "COM" + std::to_string(number_); }

  int number_ = 1;
  std::string settings_ = "9600,N,8,1";
  bool rts_ = false;
  KernelHandle handle_;
};

}  // namespace skylet::win32
