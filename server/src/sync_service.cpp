#include "sync_service.h"

#include <charconv>
#include <chrono>
#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "sheet_logic.h"

namespace tirelmo::sync {

namespace {

constexpr const char* kText = "text/plain; charset=utf-8";

void logLine(const std::string& line) {
  // One write per line so lines of concurrent requests do not mix.
  std::string out = "tirelmo-sync: " + line + "\n";
  std::fwrite(out.data(), 1, out.size(), stderr);
}

// A request's query fields, checked one by one; the first bad field is remembered and the
// request answered 400 with it.
class Query {
 public:
  explicit Query(const httplib::Request& req) : req_(req) {}

  bool has(const char* key) const { return req_.has_param(key); }
  bool flag(const char* key) const { return req_.has_param(key) && req_.get_param_value(key) == "1"; }

  int integer(const char* key, int lo, int hi) {
    if (!present(key)) return 0;
    const std::string value = req_.get_param_value(key);
    int out = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), out);
    if (ec != std::errc() || end != value.data() + value.size() || out < lo || out > hi) {
      bad(key);
      return 0;
    }
    return out;
  }

  std::string text(const char* key, size_t maxUnits) {
    if (!present(key)) return {};
    auto clean = cleanText(req_.get_param_value(key), maxUnits);
    if (!clean) {
      bad(key);
      return {};
    }
    return *clean;
  }

  std::string account(const char* key) {
    if (!present(key)) return {};
    std::string value = req_.get_param_value(key);
    if (!isValidAccount(value)) bad(key);
    return value;
  }

  Moment moment() {
    Moment m{integer("yy", 0, 9999), integer("mm", 0, 12),  integer("dd", 0, 31),
             integer("hr", 0, 23),   integer("min", 0, 59), integer("sec", 0, 60),
             integer("msec", 0, 999)};
    if (error_.empty() && !isValidMoment(m)) bad("dd");
    return m;
  }

  void bad(const char* key) {
    if (error_.empty()) error_ = std::string("bad field: ") + key;
  }
  bool ok() const { return error_.empty(); }

  // Answers 400 when a field was bad; true when the request may go on.
  bool check(httplib::Response& res) const {
    if (ok()) return true;
    logLine(req_.path + ": " + error_);
    res.status = 400;
    res.set_content(error_, kText);
    return false;
  }

 private:
  bool present(const char* key) {
    if (req_.has_param(key)) return true;
    if (error_.empty()) error_ = std::string("missing field: ") + key;
    return false;
  }

  const httplib::Request& req_;
  std::string error_;
};

std::string htmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

void ok(httplib::Response& res) { res.set_content("OK", kText); }

// Compares without stopping at the first difference, so the answer time tells nothing
// about how much of a guessed token was right.
bool sameSecret(const std::string& a, const std::string& b) {
  unsigned char diff = a.size() == b.size() ? 0 : 1;
  for (size_t k = 0; k < a.size(); ++k) diff |= a[k] ^ b[k % (b.empty() ? 1 : b.size())];
  return diff == 0 && !b.empty();
}

}  // namespace

SyncService::SyncService(SyncStore& store, ServiceOptions options)
    : store_(store), options_(std::move(options)), server_(std::make_unique<httplib::Server>()) {
  httplib::Server& s = *server_;
  s.new_task_queue = [] { return new httplib::ThreadPool(16); };
  s.set_keep_alive_max_count(1000);
  // Replies are small and written in pieces (headers, body): without this every request
  // waits for the peer's delayed ACK.
  s.set_tcp_nodelay(true);
  s.set_payload_max_length(64 * 1024);  // every request is a GET
  s.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    if (options_.token.empty()) return httplib::Server::HandlerResponse::Unhandled;
    const std::string auth = req.get_header_value("Authorization");
    const std::string prefix = "Bearer ";
    if (auth.compare(0, prefix.size(), prefix) == 0 &&
        sameSecret(auth.substr(prefix.size()), options_.token))
      return httplib::Server::HandlerResponse::Unhandled;
    res.status = 401;
    res.set_content("unauthorized", kText);
    return httplib::Server::HandlerResponse::Handled;
  });
  if (options_.logRequests) {
    s.set_logger([](const httplib::Request& req, const httplib::Response& res) {
      logLine(req.method + " " + req.path + " " + std::to_string(res.status));
    });
  }
  route(R"(/curver\.php)", &SyncService::curver);
  route(R"(/ping\.php)", &SyncService::ping);
  route("/ib1", &SyncService::location);
  route(R"(/xt/tdl\.php)", &SyncService::sheet);
  route(R"(/xt/donelist\.php)", &SyncService::doneList);
  route(R"(/xt/([^/]+)/worked_tasks\.txt)", &SyncService::workedList);
  route(R"(/xt/prj\.php)", &SyncService::projects);
  route(R"(/xt/cats\.php)", &SyncService::categories);
  if (options_.testMode) {
    route("/test/fault", &SyncService::testFault);
    route("/test/reset", &SyncService::testReset);
    route("/test/rows", &SyncService::testRows);
    route("/test/yesterday", &SyncService::testYesterday);
  }
}

SyncService::~SyncService() {
  stop();
  if (thread_.joinable()) thread_.join();
}

void SyncService::route(const char* pattern, Handler handler) {
  server_->Get(pattern, [this, handler](const httplib::Request& req, httplib::Response& res) {
    std::optional<Fault> fault;
    if (options_.testMode && req.path.rfind("/test/", 0) != 0) fault = takeFault(req.path);
    if (fault && fault->kind == "status") {
      res.status = fault->value;
      res.set_content("error", kText);
      return;
    }
    if (fault && fault->kind == "slow")
      std::this_thread::sleep_for(std::chrono::milliseconds(fault->value));
    try {
      (this->*handler)(req, res);
    } catch (const std::exception& e) {
      // A store failure (disk full, corrupt file) loses nothing already stored: the
      // transaction is rolled back and the client is told the request failed.
      logLine(req.path + ": " + e.what());
      res.status = 500;
      res.set_content("error", kText);
      return;
    }
    if (fault) applyFault(*fault, res);
  });
}

int SyncService::bind() {
  int port = options_.port;
  if (port == 0) {
    port = server_->bind_to_any_port(options_.host);
  } else if (!server_->bind_to_port(options_.host, port)) {
    port = -1;
  }
  if (port < 0) logLine("cannot listen on " + options_.host + ":" + std::to_string(options_.port));
  return port;
}

bool SyncService::run() { return server_->listen_after_bind(); }

void SyncService::stop() { server_->stop(); }

int SyncService::startInBackground() {
  int port = bind();
  if (port < 0) return -1;
  thread_ = std::thread([this] { run(); });
  // stop() before the loop runs would be lost, and the connections queue on the bound
  // socket meanwhile anyway.
  for (int k = 0; k < 5000 && !server_->is_running(); ++k)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return port;
}

std::optional<SyncService::Fault> SyncService::takeFault(const std::string& path) {
  std::lock_guard lock(faultMutex_);
  auto found = faults_.find(path);
  if (found == faults_.end()) return std::nullopt;
  Fault fault = found->second;
  if (--found->second.remaining <= 0) faults_.erase(found);
  return fault;
}

void SyncService::applyFault(const Fault& fault, httplib::Response& res) {
  if (fault.kind == "cut") {
    res.body.resize(res.body.size() / 2);
  } else if (fault.kind == "oversize") {
    if (res.body.size() < static_cast<size_t>(fault.value)) res.body.resize(fault.value, 'x');
  } else if (fault.kind == "chunks") {
    std::string body = std::move(res.body);
    res.body.clear();
    std::string type = res.get_header_value("Content-Type");
    res.headers.erase("Content-Type");  // the provider sets it again
    res.set_chunked_content_provider(type, [body](size_t, httplib::DataSink& sink) {
      const size_t half = body.size() / 2;
      sink.write(body.data(), half);
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      sink.write(body.data() + half, body.size() - half);
      sink.done();
      return true;
    });
  }
}

void SyncService::curver(const httplib::Request&, httplib::Response& res) {
  res.set_content("Current Version is " + options_.latestVersion + "\n", kText);
}

void SyncService::ping(const httplib::Request&, httplib::Response& res) {
  long long count = store_.countPing();
  std::string reply;
  if (!options_.pingReplyFile.empty()) {
    std::ifstream in(options_.pingReplyFile, std::ios::binary);
    if (in) {
      std::ostringstream bytes;
      bytes << in.rdbuf();
      reply = bytes.str();
    } else {
      logLine("cannot read the ping reply file " + options_.pingReplyFile + "; empty reply");
    }
  }
  if (options_.logRequests) logLine("ping " + std::to_string(count));
  res.set_content(reply, kText);
}

void SyncService::location(const httplib::Request&, httplib::Response& res) {
  res.set_content("<html><body>\nCountry: <b>" + htmlEscape(options_.geoCountry) +
                      "</b><br>\nRegion: <b>" + htmlEscape(options_.geoRegion) +
                      "</b><br>\n</body></html>\n",
                  "text/html; charset=utf-8");
}

void SyncService::sheet(const httplib::Request& req, httplib::Response& res) {
  Query q(req);
  if (q.flag("upd")) return uploadRow(req, res);
  if (q.flag("raw")) return downloadSheet(req, res);
  if (q.flag("rls")) return releaseLock(req, res);
  q.bad("upd");
  q.check(res);
}

void SyncService::uploadRow(const httplib::Request& req, httplib::Response& res) {
  Query q(req);
  const int n = q.integer("n", 1, kSheetRows);
  const std::string account = q.account("id");
  q.account("usr");
  const Moment now = q.moment();
  SheetRow row;
  row.text = q.text("t", kRowTextUnits);
  row.done = q.integer("d", 0, 1);
  row.pomodoros = q.integer("p", 0, kMaxCount);
  row.abandoned = q.integer("a", 0, kMaxCount);
  row.internal = q.integer("i", 0, kMaxCount);
  row.external = q.integer("e", 0, kMaxCount);
  row.pastPomodoros = q.integer("pt", 0, kMaxCount);
  row.pastAbandoned = q.integer("at", 0, kMaxCount);
  row.pastInternal = q.integer("it", 0, kMaxCount);
  row.pastExternal = q.integer("et", 0, kMaxCount);
  row.age = q.integer("age", 0, kMaxCount);
  row.category = q.integer("cat", 0, 12);
  row.project = q.integer("prj", 0, INT_MAX);
  row.minutesToday = q.integer("wkh", 0, 24) * 60 + q.integer("wkm", 0, 59);
  row.pastMinutes = q.integer("wkhp", 0, kMaxPastMinutes / 60) * 60 + q.integer("wkmp", 0, 59);
  row.estimated = q.integer("est", 0, kMaxCount);
  row.repeat = q.integer("rep", 0, 1);
  if (row.minutesToday > kMaxMinutesToday) q.bad("wkh");
  if (row.pastMinutes > kMaxPastMinutes) q.bad("wkhp");
  if (!q.check(res)) return;
  store_.transaction([&] {
    Sheet sheet = store_.sheet(account);
    if (sheet.exists() && daysFrom(dateOf(sheet.stamp), dateOf(now)) > 0) {
      RollLists lists = rollSheet(sheet, now);
      store_.replaceList(account, ListKind::Done, lists.done);
      store_.replaceList(account, ListKind::Worked, lists.worked);
      for (int k = 0; k < kSheetRows; ++k) store_.writeRow(account, k, sheet.rows[k]);
    }
    // The stamp tells the clients whose sheet is newer: an upload from a computer whose
    // clock lags keeps the later one.
    if (!sheet.exists() || earlier(sheet.stamp, now)) sheet.stamp = now;
    store_.writeRow(account, n - 1, row);
    store_.writeSheetMeta(account, sheet);
  });
  ok(res);
}

void SyncService::downloadSheet(const httplib::Request& req, httplib::Response& res) {
  Query q(req);
  const std::string account = q.account("id");
  q.account("usr");
  const Moment start = q.moment();
  if (!q.check(res)) return;
  Sheet sheet;
  store_.transaction([&] {
    sheet = store_.sheet(account);
    if (sheet.exists() && daysFrom(dateOf(sheet.stamp), dateOf(start)) > 0) {
      RollLists lists = rollSheet(sheet, start);
      store_.replaceList(account, ListKind::Done, lists.done);
      store_.replaceList(account, ListKind::Worked, lists.worked);
      for (int k = 0; k < kSheetRows; ++k) store_.writeRow(account, k, sheet.rows[k]);
    }
    if (!sheet.lockHolder.empty() && sheet.lockHolder != momentText(start))
      logLine(account + ": sheet taken over from the run started " + sheet.lockHolder);
    sheet.lockHolder = momentText(start);
    store_.writeSheetMeta(account, sheet);
  });
  res.set_content(sheetReply(sheet), kText);
}

void SyncService::releaseLock(const httplib::Request& req, httplib::Response& res) {
  Query q(req);
  const std::string account = q.account("id");
  q.account("usr");
  const Moment start = q.moment();
  if (!q.check(res)) return;
  bool released = false;
  store_.transaction([&] {
    Sheet sheet = store_.sheet(account);
    if (sheet.lockHolder == momentText(start)) {
      sheet.lockHolder.clear();
      store_.writeSheetMeta(account, sheet);
      released = true;
    }
  });
  if (!released) logLine(account + ": release by a run that does not hold the sheet; kept");
  ok(res);
}

void SyncService::doneList(const httplib::Request& req, httplib::Response& res) {
  Query q(req);
  const std::string account = q.account("id");
  if (!q.check(res)) return;
  res.set_content(doneListReply(store_.list(account, ListKind::Done)), kText);
}

void SyncService::workedList(const httplib::Request& req, httplib::Response& res) {
  const std::string account = req.matches[1];
  if (!isValidAccount(account)) {
    logLine("worked list: bad account");
    res.status = 400;
    res.set_content("bad field: account", kText);
    return;
  }
  res.set_content(workedListReply(store_.list(account, ListKind::Worked)), kText);
}

void SyncService::projects(const httplib::Request& req, httplib::Response& res) {
  Query q(req);
  const std::string account = q.account("id");
  if (!q.flag("upd")) {
    if (q.check(res)) res.set_content(projectsReply(store_.projects(account)), kText);
    return;
  }
  ProjectEntry p;
  p.position = q.integer("n", 0, 100000);
  p.name = q.text("t", kNameUnits);
  p.pid = q.integer("pid", 0, INT_MAX);
  p.status = q.integer("act", 0, 3);
  p.hours = q.integer("wkh", 0, INT_MAX);
  p.minutes = q.integer("wkm", 0, 59);
  if (!q.check(res)) return;
  store_.upsertProject(account, p);
  ok(res);
}

void SyncService::categories(const httplib::Request& req, httplib::Response& res) {
  Query q(req);
  const std::string account = q.account("id");
  if (!q.flag("upd")) {
    if (q.check(res)) res.set_content(categoriesReply(store_.categories(account)), kText);
    return;
  }
  CategoryEntry c;
  c.number = q.integer("n", 0, 12);
  c.name = q.text("t", kNameUnits);
  if (q.ok() && q.integer("cid", 0, 12) != c.number) q.bad("cid");
  if (!q.check(res)) return;
  store_.setCategory(account, c);
  ok(res);
}

void SyncService::testFault(const httplib::Request& req, httplib::Response& res) {
  Query q(req);
  const std::string path = req.get_param_value("path");
  const std::string kind = req.get_param_value("kind");
  Fault fault{kind, q.has("value") ? q.integer("value", 0, 100000000) : 0, 1};
  if (q.has("count")) fault.remaining = q.integer("count", 1, 1000000);
  if (path.empty() || path[0] != '/') q.bad("path");
  if (kind != "status" && kind != "chunks" && kind != "slow" && kind != "oversize" && kind != "cut")
    q.bad("kind");
  if (kind == "status" && (fault.value < 100 || fault.value > 599)) q.bad("value");
  if (kind == "slow" && fault.value > 120000) q.bad("value");
  if (!q.check(res)) return;
  {
    std::lock_guard lock(faultMutex_);
    faults_[path] = fault;
  }
  logLine("fault " + kind + " armed for " + path);
  ok(res);
}

void SyncService::testReset(const httplib::Request&, httplib::Response& res) {
  {
    std::lock_guard lock(faultMutex_);
    faults_.clear();
  }
  store_.clearAll();
  ok(res);
}

// Dates the account's sheet one day earlier, as if its work had been done yesterday: the
// next request of today then rolls it, which is how tests reach the day roll without
// waiting for midnight.
void SyncService::testYesterday(const httplib::Request& req, httplib::Response& res) {
  Query q(req);
  const std::string account = q.account("id");
  if (!q.check(res)) return;
  store_.transaction([&] {
    Sheet sheet = store_.sheet(account);
    if (!sheet.exists()) return;
    using namespace std::chrono;
    const year_month_day day{sys_days{year{sheet.stamp.year} / month{unsigned(sheet.stamp.month)} /
                                      std::chrono::day{unsigned(sheet.stamp.day)}} - days{1}};
    sheet.stamp.year = int(day.year());
    sheet.stamp.month = int(unsigned(day.month()));
    sheet.stamp.day = int(unsigned(day.day()));
    store_.writeSheetMeta(account, sheet);
  });
  res.set_content("OK", kText);
}

void SyncService::testRows(const httplib::Request& req, httplib::Response& res) {
  Query q(req);
  const std::string account = q.account("id");
  if (!q.check(res)) return;
  const Sheet sheet = store_.sheet(account);
  const Moment& m = sheet.stamp;
  std::string out = "stamp " + momentText(m) + "\n";
  out += "previous " + std::to_string(sheet.previous.year) + "," +
         std::to_string(sheet.previous.month) + "," + std::to_string(sheet.previous.day) + "\n";
  out += "lock " + (sheet.lockHolder.empty() ? std::string("-") : sheet.lockHolder) + "\n";
  for (int k = 0; k < kSheetRows; ++k) {
    const SheetRow& r = sheet.rows[k];
    const int numbers[] = {r.done,          r.pomodoros,     r.abandoned,    r.internal,
                           r.external,      r.pastPomodoros, r.pastAbandoned, r.pastInternal,
                           r.pastExternal,  r.age,           r.category,     r.project,
                           r.minutesToday,  r.pastMinutes,   r.estimated,    r.repeat};
    out += "row " + std::to_string(k + 1) + "\t";
    for (int j = 0; j < 16; ++j) out += (j ? "," : "") + std::to_string(numbers[j]);
    out += "\t" + r.text + "\n";
  }
  res.set_content(out, kText);
}

}  // namespace tirelmo::sync
