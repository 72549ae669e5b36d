// The WinINet adapter against a one-thread HTTP listener on loopback in this process.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "web_win32.h"

namespace tirelmo {
namespace {

// Answers each accepted connection with the next scripted reply, sent in the given pieces
// (each piece its own send, with a pause between, so the client sees them arrive apart),
// and keeps the request head it received.
class LoopbackServer {
 public:
  explicit LoopbackServer(std::vector<std::vector<std::string>> replies) : replies_(std::move(replies)) {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    int len = sizeof a;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    listen(listener_, 4);
    thread_ = std::thread([this] { serve(); });
  }
  ~LoopbackServer() {
    closesocket(listener_);  // ends an accept still waiting
    thread_.join();
    WSACleanup();
  }

  std::string url(const char* path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
  // Valid once the client has its reply.
  const std::vector<std::string>& requests() const { return requests_; }

 private:
  void serve() {
    for (const std::vector<std::string>& pieces : replies_) {
      SOCKET c = accept(listener_, nullptr, nullptr);
      if (c == INVALID_SOCKET) return;
      std::string head;
      char buf[1024];
      while (head.find("\r\n\r\n") == std::string::npos) {
        const int n = recv(c, buf, sizeof buf, 0);
        if (n <= 0) break;
        head.append(buf, n);
      }
      requests_.push_back(head);
      for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) Sleep(50);
        send(c, pieces[i].data(), static_cast<int>(pieces[i].size()), 0);
      }
      shutdown(c, SD_SEND);
      while (recv(c, buf, sizeof buf, 0) > 0) {
      }
      closesocket(c);
    }
  }

  std::vector<std::vector<std::string>> replies_;
  std::vector<std::string> requests_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::thread thread_;
};

std::string answer(int status, const std::string& body) {
  return "HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

HttpRequest requestFor(const std::string& url, std::size_t cap) {
  HttpRequest r;
  r.url = url;
  r.cap = cap;
  r.userAgent = "TirelmoTest/1";
  return r;
}

TEST(WinInetHttp, ReadsABodySentInTwoPiecesWholeWithTheBearerTokenSent) {
  const std::string body = "___210___BEGIN___210___\n" + std::string(6000, 'x') + "\n___210___END___210___";
  const std::string whole = answer(200, body);
  LoopbackServer server({{whole.substr(0, 100), whole.substr(100)}});
  HttpRequest req = requestFor(server.url("/xt/tdl.php?id=a%26b&raw=1"), 8192);
  req.token = "s3cret";

  WinInetHttp http;
  const HttpReply r = http.get(req);

  EXPECT_EQ(r.error, 0);
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, body);
  EXPECT_FALSE(r.overflow);
  EXPECT_TRUE(r.ok());
  ASSERT_EQ(server.requests().size(), 1u);
  const std::string& head = server.requests()[0];
  EXPECT_EQ(head.rfind("GET /xt/tdl.php?id=a%26b&raw=1 HTTP/1.1\r\n", 0), 0u) << head;
  EXPECT_NE(head.find("\r\nAuthorization: Bearer s3cret\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("\r\nUser-Agent: TirelmoTest/1\r\n"), std::string::npos) << head;
}

TEST(WinInetHttp, AnErrorStatusIsReportedAndNoTokenMeansNoAuthorizationHeader) {
  LoopbackServer server({{answer(404, "not here")}});
  WinInetHttp http;
  const HttpReply r = http.get(requestFor(server.url("/curver.php"), 4096));

  EXPECT_EQ(r.error, 0);
  EXPECT_EQ(r.status, 404);
  EXPECT_FALSE(r.ok());
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].find("Authorization"), std::string::npos);
}

TEST(WinInetHttp, KeepsAtMostTheCapAndTellsWhenTheReplyHadMore) {
  LoopbackServer server({{answer(200, "0123456789A")}, {answer(200, "0123456789")}});
  WinInetHttp http;

  const HttpReply over = http.get(requestFor(server.url("/ping.php"), 10));
  EXPECT_EQ(over.error, 0);
  EXPECT_EQ(over.body, "0123456789");
  EXPECT_TRUE(over.overflow);

  // A reply of exactly the cap is whole: the probe for one more byte finds the end.
  const HttpReply exact = http.get(requestFor(server.url("/ping.php"), 10));
  EXPECT_EQ(exact.error, 0);
  EXPECT_EQ(exact.body, "0123456789");
  EXPECT_FALSE(exact.overflow);
}

TEST(WinInetHttp, NobodyListeningIsAFailedOpenNotAReply) {
  // A port that was just free: bound, then closed again.
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  int len = sizeof a;
  getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
  closesocket(s);
  WSACleanup();

  WinInetHttp http;
  HttpRequest req = requestFor("http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + "/ping.php", 512);
  req.connectTimeoutMs = 2000;
  const HttpReply r = http.get(req);

  EXPECT_TRUE(r.error == kWebUrlFailed || r.error == kWebOpenFailed) << r.error;
  EXPECT_TRUE(r.body.empty());
  EXPECT_FALSE(r.ok());
}

}  // namespace
}  // namespace tirelmo
