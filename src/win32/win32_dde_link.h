#pragma once
// The DDE client conversation, spoken in raw WM_DDE_* messages.
//
// Why not DDEML: under Wine a DDEML client's synchronous XTYP_REQUEST fails
// on every second call and an XTYP_EXECUTE can report failure although the
// server got it; the raw protocol worked on every call against the same
// servers.
//
// Each link owns a hidden top-level window of a private class, the address
// its server answers to (an ordinary one, as any DDE client's: message-only
// windows are outside what DDE programs see). All calls come from the thread
// that made the link.
#include <windows.h>

#include <deque>
#include <optional>
#include <string>

#include "platform/dde_link.h"

namespace skylet::win32 {

class DdeClientLink : public platform::DdeLink {
 public:
  DdeClientLink();
  ~DdeClientLink() override;
  DdeClientLink(const DdeClientLink&) = delete;
  DdeClientLink& operator=(const DdeClientLink&) = delete;

  bool Open(const platform::DdeLinkTarget& target) override;
  std::optional<std::string> Request() override;
  bool Execute(const std::string& command) override;
  bool Poke(const std::string& text) override;
  void Close() override;
  bool IsOpen() const override;

 private:
  enum class Kind { Request, Execute, Poke };
  // A message posted to the server whose answer has not come yet. The
  // answer may come after its wait ended; it is then matched and its memory
  // released, but nobody takes its result.
  struct Outstanding {
    unsigned id;
    Kind kind;
    HGLOBAL memory;  // the command of an execute, the DDEPOKE of a poke
  };
  struct Answer {
    bool arrived = false;
    bool ok = false;
    std::string text;
  };

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitiateAck(HWND server, LPARAM lParam);
  void OnAck(HWND from, LPARAM lParam);
  void OnData(HWND from, LPARAM lParam);
  void OnTerminate(HWND from);

  bool EnsureWindow();
  DWORD TimeoutMs() const;
  // Pumps this link's window only, sleeping between messages, until `done`
  // holds, the time is up or the server is gone.
  template <typename Done>
  bool WaitFor(Done done, DWORD milliseconds);
  void PumpOwnMessages();
  bool ServerAlive();
  void Lost();
  // Waits for the answer to the message just posted.
  bool Await(Kind kind, HGLOBAL memory, Answer& answer);
  // The transaction a WM_DDE_DATA or WM_DDE_ACK answers.
  std::deque<Outstanding>::iterator Match(UINT message, UINT_PTR hi, bool positive);

  HWND window_ = nullptr;
  HWND server_ = nullptr;
  platform::DdeLinkTarget target_;
  bool initiating_ = false;
  bool closing_ = false;
  bool serverTerminated_ = false;
  std::deque<Outstanding> outstanding_;
  unsigned nextId_ = 1;
  unsigned awaited_ = 0;  // id of the transaction being waited for
  Answer* answer_ = nullptr;
};

}  // namespace skylet::win32
