// The HTTP port: one GET, read whole up to a cap. The Win32 side implements it with WinINet;
// tests use a fake that answers from a script. Requests may be made from any thread.
#pragma once

#include <cstddef>
#include <string>

namespace tirelmo {

// The web errors of the request function, as its callers log and return them.
inline constexpr int kWebOpenFailed = -1;  // the internet connection could not be opened
inline constexpr int kWebUrlFailed = -2;   // the address could not be opened (or no answer)
inline constexpr int kWebReadFailed = -3;  // the reply could not be read

struct HttpRequest {
  std::string url;                // absolute http:// or https:// address, already encoded
  std::size_t cap = 4096;         // at most this many bytes of the reply are kept
  std::string userAgent;          // sent as User-Agent
  std::string token;              // when not empty: "Authorization: Bearer <token>"
  int connectTimeoutMs = 5000;
  int receiveTimeoutMs = 10000;
};

struct HttpReply {
  int error = 0;          // 0, or kWebOpenFailed / kWebUrlFailed / kWebReadFailed
  int status = 0;         // the HTTP status, when an answer came
  std::string body;       // the bytes read, at most cap of them
  bool overflow = false;  // the reply had more than cap bytes (body holds the first cap)
  bool ok() const { return error == 0 && status >= 200 && status < 300; }
};

class Http {
 public:
  virtual ~Http() = default;
  // Reads the reply in a loop until it ends or cap bytes are kept (one more byte read then
  // sets overflow). No cache is used or written. Never throws.
  virtual HttpReply get(const HttpRequest& request) = 0;
};

// No network: every request fails to open.
class NoHttp : public Http {
 public:
  HttpReply get(const HttpRequest&) override {
    HttpReply r;
    r.error = kWebOpenFailed;
    return r;
  }
};

}  // namespace tirelmo
