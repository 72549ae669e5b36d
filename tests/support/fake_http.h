// A scripted Http: replies are queued per address prefix (or for any address) and every
// request is recorded, so tests can check field order and encoding.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/http.h"

namespace tirelmo::test {

class FakeHttp : public Http {
 public:
  // The next request whose address starts with `prefix` ("" matches any) gets this reply
  // (body cut to the request's cap, overflow set as the real port would).
  void queue(std::string prefix, HttpReply reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    script_.emplace_back(std::move(prefix), std::move(reply));
  }
  void queueBody(std::string prefix, std::string body, int status = 200) {
    HttpReply r;
    r.status = status;
    r.body = std::move(body);
    queue(std::move(prefix), std::move(r));
  }
  // What an unscripted request gets (default: the connection cannot be opened).
  void setDefault(HttpReply reply) { fallback_ = std::move(reply); }

  HttpReply get(const HttpRequest& request) override {
    std::lock_guard<std::mutex> lock(mutex_);
    requests.push_back(request);
    HttpReply r = fallback_;
    for (auto it = script_.begin(); it != script_.end(); ++it) {
      if (request.url.compare(0, it->first.size(), it->first) == 0) {
        r = it->second;
        script_.erase(it);
        break;
      }
    }
    if (r.body.size() > request.cap) {
      r.body.resize(request.cap);
      r.overflow = true;
    }
    return r;
  }

  std::vector<HttpRequest> requests;

 private:
  std::mutex mutex_;
  std::deque<std::pair<std::string, HttpReply>> script_;
  HttpReply fallback_{kWebOpenFailed, 0, {}, false};
};

}  // namespace tirelmo::test
