#include "win32/win32_serial_port.h"

#include "win32/error_text.h"

namespace skylet::win32 {

bool SerialPort::Open(std::string& error) {
  if (IsOpen()) return true;
  // The "\\.\" prefix is what makes COM10 and above openable; it is harmless
  // for the lower ports.
  const std::string path = "\\\\.\\" + Name();
  handle_ = KernelHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  if (!handle_) {
    error = Name() + ": " + ErrorText(GetLastError());
    return false;
  }
  DCB dcb{};
  dcb.DCBlength = sizeof(dcb);
  bool ok = GetCommState(handle_.Get(), &dcb) && BuildCommDCBA(settings_.c_str(), &dcb);
  if (ok) {
    dcb.fBinary = TRUE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = rts_ ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    ok = SetCommState(handle_.Get(), &dcb);
  }
  if (ok) {
    // Reads never wait; a write that the port cannot take ends after a
    // bounded time instead of hanging the program.
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;
    t.WriteTotalTimeoutMultiplier = 10;
    t.WriteTotalTimeoutConstant = 2000;
    ok = SetCommTimeouts(handle_.Get(), &t);
  }
  if (!ok) {
    error = Name() + " (" + settings_ + "): " + ErrorText(GetLastError());
    Close();
    return false;
  }
  PurgeComm(handle_.Get(), PURGE_RXCLEAR | PURGE_TXCLEAR);
  return true;
}

void SerialPort::Close() { handle_.Reset(); }

bool SerialPort::Output(const std::string& bytes) {
  if (!IsOpen()) return false;
  DWORD written = 0;
  return bytes.empty() || (WriteFile(handle_.Get(), bytes.data(),
                                     static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                           written == bytes.size());
}

int SerialPort::InBufferCount() {
  if (!IsOpen()) return 0;
  DWORD errors = 0;
  COMSTAT stat{};
  if (!ClearCommError(handle_.Get(), &errors, &stat)) return 0;
  return static_cast<int>(stat.cbInQue);
}

std::string SerialPort::Input() {
  std::string bytes;
  char chunk[256];
  DWORD got = 0;
  // The read time-outs make ReadFile hand over what is there and return.
  while (IsOpen() && ReadFile(handle_.Get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) {
    bytes.append(chunk, got);
  }
  return bytes;
}

void SerialPort::DiscardInput() {
  if (IsOpen()) PurgeComm(handle_.Get(), PURGE_RXCLEAR);
}

}  // namespace skylet::win32
