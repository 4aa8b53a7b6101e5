#include "common/dde_server.h"

#include <windows.h>
#include <ddeml.h>

#include <map>

namespace partners {

struct DdeServerState {
  DdeServerState(std::string application, std::vector<std::string> topics, DdeHandlers handlers)
      : application(std::move(application)),
        topics(std::move(topics)),
        handlers(std::move(handlers)) {}

  std::string application;
  std::vector<std::string> topics;
  DdeHandlers handlers;
  DWORD instance = 0;
  HSZ applicationHsz = nullptr;
  std::vector<HSZ> topicHsz;
  std::map<HCONV, std::string> conversations;

  std::string Text(HSZ hsz) const {
    if (!hsz) return {};
    char buffer[256];
    const DWORD n = DdeQueryStringA(instance, hsz, buffer, sizeof(buffer), CP_WINANSI);
    return std::string(buffer, n < sizeof(buffer) ? n : 0);
  }
  std::string Data(HDDEDATA data) const {
    const DWORD size = data ? DdeGetData(data, nullptr, 0, 0) : 0;
    std::string bytes(size, '\0');
    if (size) DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), size, 0);
    // Text data ends at its NUL.
    return bytes.substr(0, bytes.find('\0'));
  }
  bool Serves(HSZ topic) const {
    for (const HSZ t : topicHsz) {
      if (DdeCmpStringHandles(t, topic) == 0) return true;
    }
    return false;
  }
  HDDEDATA OnWildConnect(HSZ topic, HSZ service);
  HDDEDATA OnTransaction(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                         HDDEDATA data);
};

namespace {

DdeServerState* g_server = nullptr;  // DDEML's callback has no context pointer

HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                           HDDEDATA data, ULONG_PTR, ULONG_PTR) {
  return g_server ? g_server->OnTransaction(type, format, conversation, hsz1, hsz2, data)
                  : nullptr;
}

}  // namespace

bool SameName(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
         CSTR_EQUAL;
}

HDDEDATA DdeServerState::OnWildConnect(HSZ topic, HSZ service) {
  // A client that names no application (or no topic) gets every pair that
  // fits, ended by a pair of nulls.
  if (service && DdeCmpStringHandles(service, applicationHsz) != 0) return nullptr;
  std::vector<HSZPAIR> pairs;
  for (const HSZ t : topicHsz) {
    if (!topic || DdeCmpStringHandles(t, topic) == 0) pairs.push_back({applicationHsz, t});
  }
  if (pairs.empty()) return nullptr;
  pairs.push_back({nullptr, nullptr});
  return DdeCreateDataHandle(instance, reinterpret_cast<LPBYTE>(pairs.data()),
                             static_cast<DWORD>(pairs.size() * sizeof(HSZPAIR)), 0, nullptr, 0,
                             0);
}

HDDEDATA DdeServerState::OnTransaction(UINT type, UINT format, HCONV conversation, HSZ hsz1,
                                        HSZ hsz2, HDDEDATA data) {
  const auto ack = [](bool ok) {
    return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(ok ? DDE_FACK : DDE_FNOTPROCESSED));
  };
  switch (type) {
    case XTYP_CONNECT:
      return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(
          Serves(hsz1) && DdeCmpStringHandles(hsz2, applicationHsz) == 0));
    case XTYP_WILDCONNECT:
      return OnWildConnect(hsz1, hsz2);
    case XTYP_CONNECT_CONFIRM:
      conversations[conversation] = Text(hsz1);
      if (handlers.conversation) handlers.conversation(conversations[conversation], true);
      return nullptr;
    case XTYP_DISCONNECT: {
      const auto it = conversations.find(conversation);
      if (it == conversations.end()) return nullptr;
      const std::string topic = it->second;
      conversations.erase(it);
      if (handlers.conversation) handlers.conversation(topic, false);
      return nullptr;
    }
    case XTYP_REQUEST: {
      if (format != CF_TEXT || !handlers.request) return nullptr;
      const auto text = handlers.request(Text(hsz1), Text(hsz2));
      if (!text) return nullptr;
      return DdeCreateDataHandle(instance,
                                 reinterpret_cast<LPBYTE>(const_cast<char*>(text->c_str())),
                                 static_cast<DWORD>(text->size() + 1), 0, hsz2, CF_TEXT, 0);
    }
    case XTYP_EXECUTE:
      return ack(handlers.execute && handlers.execute(Text(hsz1), Data(data)));
    case XTYP_POKE:
      return ack(format == CF_TEXT && handlers.poke &&
                 handlers.poke(Text(hsz1), Text(hsz2), Data(data)));
    default:
      return nullptr;
  }
}

DdeServer::DdeServer(std::string application, std::vector<std::string> topics,
                     DdeHandlers handlers)
    : impl_(std::make_unique<DdeServerState>(std::move(application), std::move(topics),
                                              std::move(handlers))) {}

DdeServer::~DdeServer() {
  if (impl_->instance) {
    // Ends the open conversations: their clients get WM_DDE_TERMINATE.
    DdeNameService(impl_->instance, impl_->applicationHsz, nullptr, DNS_UNREGISTER);
    DdeUninitialize(impl_->instance);
  }
  if (g_server == impl_.get()) g_server = nullptr;
}

bool DdeServer::Start() {
  if (g_server) return false;
  g_server = impl_.get();
  if (DdeInitializeA(&impl_->instance, Callback,
                     APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_SKIP_REGISTRATIONS |
                         CBF_SKIP_UNREGISTRATIONS,
                     0) != DMLERR_NO_ERROR) {
    impl_->instance = 0;
    return false;
  }
  impl_->applicationHsz = DdeCreateStringHandleA(impl_->instance, impl_->application.c_str(),
                                                 CP_WINANSI);
  for (const std::string& topic : impl_->topics) {
    impl_->topicHsz.push_back(DdeCreateStringHandleA(impl_->instance, topic.c_str(), CP_WINANSI));
  }
  return impl_->applicationHsz &&
         DdeNameService(impl_->instance, impl_->applicationHsz, nullptr, DNS_REGISTER) != nullptr;
}

}  // namespace partners
