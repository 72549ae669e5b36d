// The HTTP side of tirelmo-sync: the endpoints the clients call, the bearer token, and in
// test mode the scripted faults and the rows dump the end-to-end tests use.
#pragma once

#include <httplib.h>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "sync_store.h"

namespace tirelmo::sync {

struct ServiceOptions {
  std::string host = "127.0.0.1";
  int port = 8230;  // 0: any free port
  std::string token;  // empty: no token asked for
  std::string latestVersion = "v2.3.3";
  std::string pingReplyFile;  // empty: pings get an empty reply
  std::string geoCountry, geoRegion;
  bool testMode = false;
  bool logRequests = true;  // one line per request on stderr
};

class SyncService {
 public:
  SyncService(SyncStore& store, ServiceOptions options);
  ~SyncService();

  // Binds the address; the bound port, or -1 (logged) when it cannot be bound.
  int bind();
  // Serves until stop(); false when serving failed.
  bool run();
  void stop();

  // bind() and run() on a thread of its own, for tests and the bench; the port or -1.
  int startInBackground();

 private:
  struct Fault {
    std::string kind;
    int value = 0;
    int remaining = 0;
  };
  using Handler = void (SyncService::*)(const httplib::Request&, httplib::Response&);

  void route(const char* pattern, Handler handler);
  std::optional<Fault> takeFault(const std::string& path);
  static void applyFault(const Fault& fault, httplib::Response& res);

  void curver(const httplib::Request& req, httplib::Response& res);
  void ping(const httplib::Request& req, httplib::Response& res);
  void location(const httplib::Request& req, httplib::Response& res);
  void sheet(const httplib::Request& req, httplib::Response& res);
  void uploadRow(const httplib::Request& req, httplib::Response& res);
  void downloadSheet(const httplib::Request& req, httplib::Response& res);
  void releaseLock(const httplib::Request& req, httplib::Response& res);
  void doneList(const httplib::Request& req, httplib::Response& res);
  void workedList(const httplib::Request& req, httplib::Response& res);
  void projects(const httplib::Request& req, httplib::Response& res);
  void categories(const httplib::Request& req, httplib::Response& res);
  void testFault(const httplib::Request& req, httplib::Response& res);
  void testReset(const httplib::Request& req, httplib::Response& res);
  void testRows(const httplib::Request& req, httplib::Response& res);
  void testYesterday(const httplib::Request& req, httplib::Response& res);

  SyncStore& store_;
  ServiceOptions options_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  std::mutex faultMutex_;
  std::map<std::string, Fault> faults_;  // by path
};

}  // namespace tirelmo::sync
