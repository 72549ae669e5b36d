// The readers take a path, so every fuzz input is written to one file in a private
// temporary folder first. The log is never opened here, so the readers' log lines go
// nowhere and nothing lands in the source tree.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "text/ustring.h"

namespace tirelmo::fuzz {

class InputFile {
 public:
  InputFile() {
    const char* tmp = getenv("TMPDIR");
    std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/tirelmo-fuzz-XXXXXX";
    if (!mkdtemp(tmpl.data())) abort();
    dir_ = tmpl;
    file_ = dir_ + "/input.bin";
    path_ = utf8ToUtf16(file_);
  }
  ~InputFile() {
    unlink(file_.c_str());
    rmdir(dir_.c_str());
  }

  const u16& write(const std::uint8_t* data, std::size_t size) {
    const int fd = open(file_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) abort();
    for (std::size_t done = 0; done < size;) {
      const ssize_t n = ::write(fd, data + done, size - done);
      if (n <= 0) abort();
      done += static_cast<std::size_t>(n);
    }
    close(fd);
    return path_;
  }

 private:
  std::string dir_, file_;
  u16 path_;
};

// A broken invariant is a finding: stop so libFuzzer keeps the input.
inline void require(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    abort();
  }
}

}  // namespace tirelmo::fuzz
