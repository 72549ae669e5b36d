// Load run of the sync service on loopback: 8 threads upload 1250 rows each (10,000 in
// all, every one to its own account and row), then every stored row is checked against what
// was sent last; then a whole sheet upload (25 rows) and a sheet download are timed, the
// median of 20 each. Not part of the test run: build the target and run it by hand,
//   build/native/server/sync_load
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "sqlite_store.h"
#include "sync_service.h"

using namespace tirelmo::sync;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kThreads = 8;
constexpr int kAccountsPerThread = 50;  // x 25 rows = 1250 uploads per thread

std::string account(int thread, int index) {
  return "load" + std::to_string(thread) + "-" + std::to_string(index);
}

// The text and pomodoro count a row gets, so the check can tell each upload apart.
std::string rowText(int thread, int index, int n) {
  return "t" + std::to_string(thread) + " a" + std::to_string(index) + " r" + std::to_string(n) +
         " %E5%AD%A6%20%26";  // "学 &"
}
int rowPomodoros(int thread, int index, int n) { return (thread * 31 + index * 7 + n) % 256; }

std::string upload(const std::string& id, int n, const std::string& encodedText, int pomodoros) {
  return "/xt/tdl.php?upd=1&n=" + std::to_string(n) + "&id=" + id +
         "&usr=pc&yy=2024&mm=5&dd=6&hr=9&min=0&sec=0&msec=0&t=" + encodedText +
         "&d=0&p=" + std::to_string(pomodoros) +
         "&a=0&i=0&e=0&pt=0&at=0&it=0&et=0&age=0&cat=1&prj=0&wkh=0&wkm=25&wkhp=0&wkmp=0&est=2&rep=0";
}

double medianMs(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  char pattern[] = "/tmp/tirelmo-sync-load-XXXXXX";
  const std::filesystem::path dir = mkdtemp(pattern);
  int failures = 0;
  {
    SqliteStore store((dir / "sync.db").string());
    ServiceOptions options;
    options.port = 0;
    options.logRequests = false;
    SyncService service(store, options);
    const int port = service.startInBackground();
    if (port < 0) return 1;

    std::atomic<int> refused = 0;
    const auto started = Clock::now();
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([t, port, &refused] {
        httplib::Client client("127.0.0.1", port);
        client.set_keep_alive(true);
        client.set_tcp_nodelay(true);
        for (int a = 0; a < kAccountsPerThread; ++a) {
          for (int n = 1; n <= kSheetRows; ++n) {
            auto res = client.Get(upload(account(t, a), n, rowText(t, a, n), rowPomodoros(t, a, n)));
            if (!res || res->status != 200) ++refused;
          }
        }
      });
    }
    for (auto& thread : threads) thread.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    const int total = kThreads * kAccountsPerThread * kSheetRows;

    int lost = 0;
    for (int t = 0; t < kThreads; ++t) {
      for (int a = 0; a < kAccountsPerThread; ++a) {
        const Sheet sheet = store.sheet(account(t, a));
        for (int n = 1; n <= kSheetRows; ++n) {
          const SheetRow& row = sheet.rows[n - 1];
          std::string text = rowText(t, a, n);
          text = text.substr(0, text.find(" %")) + " 学 &";
          if (row.text != text || row.pomodoros != rowPomodoros(t, a, n)) ++lost;
        }
      }
    }
    std::printf("row uploads: %d from %d threads in %.2f s = %.0f requests/s; refused %d, "
                "missing or wrong in the database %d\n",
                total, kThreads, seconds, total / seconds, refused.load(), lost);
    failures += refused + lost;

    httplib::Client client("127.0.0.1", port);
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);
    std::vector<double> uploads, downloads;
    std::string longText;
    for (int k = 0; k < 179; ++k) longText += "%E5%AD%A6";  // 179 Chinese characters
    for (int run = 0; run < 20; ++run) {
      auto begin = Clock::now();
      for (int n = 1; n <= kSheetRows; ++n) {
        auto res = client.Get(upload("bench", n, longText, run));
        if (!res || res->status != 200) ++failures;
      }
      uploads.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
      begin = Clock::now();
      auto res = client.Get(
          "/xt/tdl.php?id=bench&usr=pc&raw=1&yy=2024&mm=5&dd=6&hr=9&min=0&sec=0&msec=0");
      downloads.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
      if (!res || res->status != 200 || res->body.find("___210___END___210___") == std::string::npos)
        ++failures;
    }
    std::printf("sheet upload (25 rows of 179 Chinese characters, one connection): median %.2f ms\n",
                medianMs(uploads));
    std::printf("sheet download (25 rows): median %.2f ms\n", medianMs(downloads));
  }
  std::filesystem::remove_all(dir);
  if (failures) std::printf("FAILED: %d\n", failures);
  return failures ? 1 : 0;
}
