// tirelmo-sync: keeps the day's sheet, the done and worked lists, the projects and the
// categories of Tirelmo installations, so that two computers of one person share them.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "sqlite_store.h"
#include "sync_service.h"

namespace {

constexpr const char* kUsage =
    "usage: tirelmo-sync [--host H] [--port N] [--port-file F] [--db PATH] [--token T]\n"
    "                    [--latest-version V] [--ping-reply-file F] [--geo-country C]\n"
    "                    [--geo-region R] [--test-mode]\n"
    "  --host H             address to listen on (default 127.0.0.1)\n"
    "  --port N             port (default 8230; 0 picks a free one)\n"
    "  --port-file F        write the bound port to F once listening\n"
    "  --db PATH            database file (default tirelmo-sync.db)\n"
    "  --token T            require \"Authorization: Bearer T\" (or TIRELMO_SYNC_TOKEN)\n"
    "  --latest-version V   the version /curver.php names (default v2.3.3)\n"
    "  --ping-reply-file F  its bytes answer every ping (default an empty reply)\n"
    "  --geo-country C, --geo-region R   what the /ib1 page says\n"
    "  --test-mode          enable /test/fault, /test/reset and /test/rows\n";

bool isLoopback(const std::string& host) {
  return host == "localhost" || host == "::1" || host.rfind("127.", 0) == 0;
}

// Written whole under another name first, so a test polling the file never reads half.
bool writePortFile(const std::string& path, int port) {
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::trunc);
    out << port << "\n";
    if (!out.flush()) return false;
  }
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  using tirelmo::sync::ServiceOptions;
  ServiceOptions options;
  std::string db = "tirelmo-sync.db";
  std::string portFile;
  if (const char* token = std::getenv("TIRELMO_SYNC_TOKEN")) options.token = token;

  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    auto value = [&]() -> std::string {
      if (k + 1 >= argc) {
        std::fprintf(stderr, "tirelmo-sync: %s needs a value\n%s", arg.c_str(), kUsage);
        std::exit(2);
      }
      return argv[++k];
    };
    if (arg == "--host") {
      options.host = value();
    } else if (arg == "--port") {
      const std::string text = value();
      char* end = nullptr;
      long port = std::strtol(text.c_str(), &end, 10);
      if (text.empty() || *end != '\0' || port < 0 || port > 65535) {
        std::fprintf(stderr, "tirelmo-sync: bad port '%s'\n", text.c_str());
        return 2;
      }
      options.port = static_cast<int>(port);
    } else if (arg == "--port-file") {
      portFile = value();
    } else if (arg == "--db") {
      db = value();
    } else if (arg == "--token") {
      options.token = value();
    } else if (arg == "--latest-version") {
      options.latestVersion = value();
    } else if (arg == "--ping-reply-file") {
      options.pingReplyFile = value();
    } else if (arg == "--geo-country") {
      options.geoCountry = value();
    } else if (arg == "--geo-region") {
      options.geoRegion = value();
    } else if (arg == "--test-mode") {
      options.testMode = true;
    } else if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      std::fprintf(stderr, "tirelmo-sync: unknown option '%s'\n%s", arg.c_str(), kUsage);
      return 2;
    }
  }
  if (!isLoopback(options.host)) {
    std::fprintf(stderr,
                 "tirelmo-sync: warning: %s is not a loopback address; the service speaks plain "
                 "HTTP, put a TLS proxy in front of it%s\n",
                 options.host.c_str(), options.token.empty() ? " and set a token" : "");
  }

  // SIGINT and SIGTERM go to one waiting thread, which stops the server from outside a
  // signal handler; every other thread inherits the blocked mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  try {
    tirelmo::sync::SqliteStore store(db);
    tirelmo::sync::SyncService service(store, options);
    const int port = service.bind();
    if (port < 0) return 1;
    if (!portFile.empty() && !writePortFile(portFile, port)) {
      std::fprintf(stderr, "tirelmo-sync: cannot write the port file %s\n", portFile.c_str());
      return 1;
    }
    std::printf("tirelmo-sync listening on http://%s:%d\n", options.host.c_str(), port);
    std::fflush(stdout);

    std::atomic<bool> signalled = false;
    std::thread waiter([&] {
      int signal = 0;
      sigwait(&stopSignals, &signal);
      signalled = true;
      std::fprintf(stderr, "tirelmo-sync: stopping (signal %d)\n", signal);
      service.stop();
    });
    const bool served = service.run();
    if (!served) std::fprintf(stderr, "tirelmo-sync: the server stopped with an error\n");
    if (!signalled) pthread_kill(waiter.native_handle(), SIGTERM);  // run() ended on its own
    waiter.join();
    return served ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tirelmo-sync: %s\n", e.what());
    return 1;
  }
}
