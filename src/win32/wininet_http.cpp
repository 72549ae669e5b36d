// The Http port over WinINet. Kept apart from the window side of the web services so that
// the adapter tests link without the main window.
#include <windows.h>
#include <wininet.h>

#include <string>

#include "base/log.h"
#include "web_win32.h"
#include "wide.h"

namespace tirelmo {

namespace {

// WinINet is loaded at the first request, not at start: it brings in the network and
// security libraries, which a run that never goes online should not pay for in start time
// and memory. The first caller loads it; the static's initialisation is thread-safe.
struct WinInetApi {
  decltype(&::InternetOpenW) open = nullptr;
  decltype(&::InternetOpenUrlA) openUrl = nullptr;
  decltype(&::InternetSetOptionW) setOption = nullptr;
  decltype(&::HttpQueryInfoA) queryInfo = nullptr;
  decltype(&::InternetReadFile) read = nullptr;
  decltype(&::InternetCloseHandle) close = nullptr;
  bool loaded() const { return open && openUrl && setOption && queryInfo && read && close; }
};

template <typename F>
void bind(HMODULE module, F& f, const char* name) {
  f = reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const WinInetApi& wininet() {
  static const WinInetApi api = [] {
    WinInetApi a;
    HMODULE module = LoadLibraryW(L"wininet.dll");
    if (!module) {
      logLastError(u"LoadLibraryW");
      return a;
    }
    bind(module, a.open, "InternetOpenW");
    bind(module, a.openUrl, "InternetOpenUrlA");
    bind(module, a.setOption, "InternetSetOptionW");
    bind(module, a.queryInfo, "HttpQueryInfoA");
    bind(module, a.read, "InternetReadFile");
    bind(module, a.close, "InternetCloseHandle");
    return a;
  }();
  return api;
}

// Closes a WinINet handle on every way out of get().
class InetHandle {
 public:
  explicit InetHandle(HINTERNET h = nullptr) : h_(h) {}
  InetHandle(const InetHandle&) = delete;
  InetHandle& operator=(const InetHandle&) = delete;
  ~InetHandle() {
    if (h_) wininet().close(h_);
  }
  HINTERNET get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HINTERNET h_;
};

void setTimeout(HINTERNET session, DWORD option, int ms) {
  if (ms <= 0) return;  // the system's own timeout then
  DWORD value = static_cast<DWORD>(ms);
  wininet().setOption(session, option, &value, sizeof value);
}

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

HttpReply WinInetHttp::get(const HttpRequest& request) {
  HttpReply reply;

  // Direct access: a proxy configured for the browser is not asked. Every call has its own
  // session, so workers on several threads share nothing.
  if (!wininet().loaded()) {
    logLine(u"WinINet is not available");
    reply.error = kWebOpenFailed;
    return reply;
  }
  InetHandle session(wininet().open(Wstr(utf8ToUtf16(request.userAgent)).c_str(), INTERNET_OPEN_TYPE_DIRECT,
                                   nullptr, nullptr, 0));
  if (!session) {
    logLastError(u"InternetOpen");
    reply.error = kWebOpenFailed;
    return reply;
  }
  setTimeout(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, request.connectTimeoutMs);
  setTimeout(session.get(), INTERNET_OPTION_SEND_TIMEOUT, request.receiveTimeoutMs);
  setTimeout(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, request.receiveTimeoutMs);

  std::string headers;
  if (!request.token.empty()) {
    // A token with a line break would add header lines of its own.
    if (request.token.find_first_of("\r\n") != std::string::npos) {
      logLine(u"Web token holds a line break: not sent");
      reply.error = kWebUrlFailed;
      return reply;
    }
    headers = "Authorization: Bearer " + request.token + "\r\n";
  }

  // Always from the network, never stored: the replies are per-day answers and sheets.
  // (INTERNET_FLAG_RAW_DATA only concerns FTP and gopher listings, so HTTP does not need it.)
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
  if (startsWith(request.url, "https://")) flags |= INTERNET_FLAG_SECURE;
  InetHandle url(wininet().openUrl(session.get(), request.url.c_str(), headers.empty() ? nullptr : headers.c_str(),
                                  headers.empty() ? 0 : static_cast<DWORD>(headers.size()), flags, 0));
  if (!url) {
    logLastError(u"InternetOpenUrl");
    reply.error = kWebUrlFailed;
    return reply;
  }

  DWORD status = 0;
  DWORD size = sizeof status;
  if (!wininet().queryInfo(url.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
    logLastError(u"HttpQueryInfo");
    reply.error = kWebUrlFailed;
    return reply;
  }
  reply.status = static_cast<int>(status);

  // Read until the reply ends or the cap is reached; then one byte more tells whether the
  // reply had more than the cap.
  char chunk[4096];
  for (;;) {
    const std::size_t room = request.cap - reply.body.size();
    const DWORD want = room == 0 ? 1 : static_cast<DWORD>(room < sizeof chunk ? room : sizeof chunk);
    DWORD got = 0;
    if (!wininet().read(url.get(), chunk, want, &got)) {
      logLastError(u"InternetWriteFile");
      reply.error = kWebReadFailed;
      reply.body.clear();  // a cut reply is never data
      return reply;
    }
    if (got == 0) break;
    if (room == 0) {
      reply.overflow = true;
      break;
    }
    reply.body.append(chunk, got);
  }
  return reply;
}

}  // namespace tirelmo
