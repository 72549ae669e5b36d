// tirelmo-export DATA_DIR OUT_DIR: writes the data of a user-data folder as CSV and JSON
// files into OUT_DIR (see docs/export.md). The data folder is only read. Damaged files are
// named on stderr and left out; a summary line of counts goes to stdout.
//
// Exit codes: 0 done; 1 nothing could be exported (no data, or no data folder); 2 wrong
// arguments, or an output folder inside the data folder; 3 the output could not be written.
#include <cstdio>
#include <string>

#include "export/data_export.h"
#include "text/ustring.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using tirelmo::u16;
using tirelmo::u16v;

void print(std::FILE* to, u16v text) {
  const std::string bytes = tirelmo::utf16ToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), to);
  std::fputc('\n', to);
}

int run(const u16& dataDir, const u16& outDir) {
  tirelmo::ExportRequest rq;
  rq.dataDir = dataDir;
  rq.outDir = outDir;
  rq.onProblem = [](u16v problem) { print(stderr, problem); };
  const tirelmo::ExportResult r = tirelmo::exportUserData(rq);
  using tirelmo::ExportStatus;
  switch (r.status) {
    case ExportStatus::Ok:
      print(stdout, tirelmo::exportSummary(r.counts));
      return 0;
    case ExportStatus::NothingToExport:
      print(stdout, tirelmo::exportSummary(r.counts));
      print(stderr, u"tirelmo-export: no data of Tirelmo found in " + dataDir);
      return 1;
    case ExportStatus::NoDataFolder:
      print(stderr, u"tirelmo-export: the data folder " + dataDir + u" is not there");
      return 1;
    case ExportStatus::OutputInsideData:
      print(stderr, u"tirelmo-export: the output folder must not be inside the data folder");
      return 2;
    case ExportStatus::OutputNotWritable:
    case ExportStatus::WriteFailed:
      print(stdout, tirelmo::exportSummary(r.counts));
      print(stderr, u"tirelmo-export: the output could not be written into " + outDir);
      return 3;
  }
  return 3;
}

int usage() {
  std::fputs("usage: tirelmo-export DATA_DIR OUT_DIR\n", stderr);
  return 2;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  // Texts go out as UTF-8; a console shows them right only with its code page set so.
  SetConsoleOutputCP(CP_UTF8);
  if (argc != 3) return usage();
  const auto arg = [&](int i) { return u16(reinterpret_cast<const char16_t*>(argv[i])); };
  return run(arg(1), arg(2));
}
#else
int main(int argc, char** argv) {
  if (argc != 3) return usage();
  return run(tirelmo::utf8ToUtf16(argv[1]), tirelmo::utf8ToUtf16(argv[2]));
}
#endif
