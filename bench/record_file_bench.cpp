// What the record-file layer costs: the scrambler against a plain copy of the same bytes,
// and a whole 10 MB record file read the way every loader reads one.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "storage/cfile.h"
#include "storage/file_ops.h"
#include "storage/record_file.h"
#include "storage/scrambler.h"
#include "text/format.h"

namespace tirelmo {
namespace {

std::vector<unsigned char> someBytes(std::size_t n) {
  std::vector<unsigned char> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<unsigned char>(i * 131 + (i >> 7));
  return v;
}

void BM_ScrambleBytes(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const std::vector<unsigned char> in = someBytes(n);
  std::vector<unsigned char> out(n);
  for (auto _ : state) {
    scrambleBytes(in.data(), out.data(), n);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_DescrambleBytes(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const std::vector<unsigned char> in = someBytes(n);
  std::vector<unsigned char> out(n);
  for (auto _ : state) {
    descrambleBytes(in.data(), out.data(), n);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_Memcpy(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const std::vector<unsigned char> in = someBytes(n);
  std::vector<unsigned char> out(n);
  for (auto _ : state) {
    std::memcpy(out.data(), in.data(), n);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

BENCHMARK(BM_ScrambleBytes)->Arg(64)->Arg(4 << 10)->Arg(1 << 20);
BENCHMARK(BM_DescrambleBytes)->Arg(64)->Arg(4 << 10)->Arg(1 << 20);
BENCHMARK(BM_Memcpy)->Arg(64)->Arg(4 << 10)->Arg(1 << 20);

// A 10 MB project-style record file in a private temporary folder, made once for all runs
// and removed at exit.
class TenMegabyteFile {
 public:
  TenMegabyteFile() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tirelmo-bench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    dir_ = tmpl;
    path_ = utf8ToUtf16(dir_ + "/active_prj.p01");
    AtomicFileWriter w(path_);
    writeRecordLine(w, u"\"ID\",\"Name\",\"Hours\",\"Minutes\",\"Status\",\"Year\",\"Month\",\"Day\"");
    const char16_t* names[] = {u"\"\"Website relaunch\"\"", u"写周报并发给团队", u"Steuererklärung 2020",
                               u"買鉛筆", u"Read \"\"Deep Work\"\", chapters 1-4"};
    std::uint64_t bytes = 0;
    for (int id = 1; bytes < 10u << 20; ++id) {
      const u16 line = fmt(u"\"%d\",\"%s\",\"%d\",\"%d\",\"%d\",\"%d\",\"%d\",\"%d\"", id, names[id % 5],
                           id % 300, id % 60, id % 2, 2021, 1 + id % 12, 1 + id % 28);
      writeRecordLine(w, line);
      bytes += 2 * line.size() + 4;
      ++lines_;
    }
    if (!w.commit()) std::abort();
    size_ = std::filesystem::file_size(dir_ + "/active_prj.p01");
  }
  ~TenMegabyteFile() { std::filesystem::remove_all(dir_); }

  const u16& path() const { return path_; }
  std::uint64_t size() const { return size_; }
  std::uint64_t lines() const { return lines_; }

 private:
  std::string dir_;
  u16 path_;
  std::uint64_t size_ = 0;
  std::uint64_t lines_ = 0;
};

const TenMegabyteFile& tenMegabyteFile() {
  static const TenMegabyteFile file;
  return file;
}

void BM_ReadRecordFileLineByLine(benchmark::State& state) {
  const TenMegabyteFile& file = tenMegabyteFile();
  for (auto _ : state) {
    CFile reader(file.path(), kCFileTextLines);
    u16 line;
    std::uint64_t count = 0;
    reader.gets(line);  // header
    while (reader.gets(line) != 0) {
      decodeRecordLine(line);
      benchmark::DoNotOptimize(line.data());
      ++count;
    }
    if (count != file.lines()) state.SkipWithError("lines lost");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
  state.counters["lines"] = static_cast<double>(file.lines());
}

BENCHMARK(BM_ReadRecordFileLineByLine)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tirelmo
