#pragma once
// The radio's serial port, with the properties of the port control the
// program drives (port number, settings text, open state, RTS, binary input).
#include <string>

namespace skylet::platform {

class SerialPort {
 public:
  virtual ~SerialPort() = default;
  virtual void SetCommPort(int number) = 0;
  // Baud, parity, data bits, stop bits, e.g. "9600,N,8,2".
  virtual void SetSettings(const std::string& settings) = 0;
  virtual void SetRThreshold(int bytes) = 0;
  virtual void SetRTSEnable(bool on) = 0;
  virtual void SetInputModeBinary(bool binary) = 0;
  // Opens with the properties set so far. On failure `error` names the port
  // and the reason.
  virtual bool Open(std::string& error) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Writes the bytes unchanged (one character per byte, 0..255).
  virtual bool Output(const std::string& bytes) = 0;
  virtual int InBufferCount() = 0;
  // The bytes waiting, taken out of the receive buffer; never waits.
  virtual std::string Input() = 0;
  virtual void DiscardInput() = 0;
};

}  // namespace skylet::platform
