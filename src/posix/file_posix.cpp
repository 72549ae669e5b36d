// The file port on POSIX, for the native build and its tests. Paths arrive with
// backslashes and are mapped to '/'; errors are reported with Windows error numbers so the
// core's log lines read the same on both platforms.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/file.h"
#include "text/ustring.h"
#include "file_faults.h"

namespace tirelmo {

namespace {

thread_local std::uint32_t tLastError = 0;

std::uint32_t fromErrno(int e) {
  switch (e) {
    case 0: return 0;
    case ENOENT: return winerr::kFileNotFound;
    case ENOTDIR: return winerr::kPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR: return winerr::kAccessDenied;
    case EROFS: return winerr::kWriteProtect;
    case EEXIST: return winerr::kFileExists;
    case ENOSPC: return winerr::kDiskFull;
    case EBUSY: return winerr::kSharingViolation;
    default: return 1000u + static_cast<std::uint32_t>(e);
  }
}

void setFromErrno() { tLastError = fromErrno(errno); }

std::string gRefusedFragment;

bool refused(u16v path) {
  if (gRefusedFragment.empty() || utf16ToUtf8(path).find(gRefusedFragment) == std::string::npos) return false;
  tLastError = winerr::kDiskFull;
  return true;
}

std::string nativePath(u16v path) {
  std::string s = utf16ToUtf8(path);
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

}  // namespace

void refuseWritesTo(std::string fragment) { gRefusedFragment = std::move(fragment); }

FileHandle fileOpen(u16v path, OpenMode mode) {
  if (mode != OpenMode::ReadExisting && refused(path)) return kInvalidFile;
  int flags = 0;
  switch (mode) {
    case OpenMode::ReadExisting: flags = O_RDONLY; break;
    case OpenMode::ReadWriteNew: flags = O_RDWR | O_CREAT | O_EXCL; break;
    case OpenMode::ReadWriteExisting: flags = O_RDWR; break;
    case OpenMode::CreateAlways: flags = O_RDWR | O_CREAT | O_TRUNC; break;
  }
  const std::string p = nativePath(path);
  struct stat st{};
  if (::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    tLastError = winerr::kAccessDenied;
    return kInvalidFile;
  }
  const int fd = ::open(p.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) {
    setFromErrno();
    return kInvalidFile;
  }
  tLastError = 0;
  return fd;
}

bool fileRead(FileHandle h, void* buffer, std::uint32_t size, std::uint32_t& got) {
  got = 0;
  if (h == kInvalidFile) {
    tLastError = 6;  // invalid handle
    return false;
  }
  for (;;) {
    const ssize_t r = ::read(static_cast<int>(h), buffer, size);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) {
      setFromErrno();
      return false;
    }
    got = static_cast<std::uint32_t>(r);
    return true;
  }
}

bool fileWrite(FileHandle h, const void* data, std::uint32_t size) {
  if (h == kInvalidFile) {
    tLastError = 6;
    return false;
  }
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t r = ::write(static_cast<int>(h), p, size);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) {
      if (r == 0) errno = ENOSPC;
      setFromErrno();
      return false;
    }
    p += r;
    size -= static_cast<std::uint32_t>(r);
  }
  return true;
}

bool fileSeekToEnd(FileHandle h) {
  if (::lseek(static_cast<int>(h), 0, SEEK_END) < 0) {
    setFromErrno();
    return false;
  }
  return true;
}

bool fileTruncate(FileHandle h, std::int64_t size) {
  if (::ftruncate(static_cast<int>(h), static_cast<off_t>(size)) != 0 ||
      ::lseek(static_cast<int>(h), 0, SEEK_END) < 0) {
    setFromErrno();
    return false;
  }
  return true;
}

std::int64_t fileSize(FileHandle h) {
  struct stat st{};
  if (::fstat(static_cast<int>(h), &st) != 0) {
    setFromErrno();
    return -1;
  }
  return st.st_size;
}

bool fileFlush(FileHandle h) {
  if (::fsync(static_cast<int>(h)) != 0) {
    setFromErrno();
    return false;
  }
  return true;
}

void fileClose(FileHandle h) {
  if (h != kInvalidFile) ::close(static_cast<int>(h));
}

PathKind pathKind(u16v path) {
  struct stat st{};
  if (::stat(nativePath(path).c_str(), &st) != 0) {
    setFromErrno();
    return PathKind::Missing;
  }
  return S_ISDIR(st.st_mode) ? PathKind::Directory : PathKind::File;
}

MkdirResult createDirectory(u16v path) {
  const std::string p = nativePath(path);
  if (::mkdir(p.c_str(), 0755) == 0) {
    tLastError = 0;
    return MkdirResult::Created;
  }
  if (errno == EEXIST) {
    tLastError = winerr::kAlreadyExists;
    return MkdirResult::AlreadyExists;
  }
  setFromErrno();
  if (errno == ENOENT) tLastError = winerr::kPathNotFound;
  return MkdirResult::Failed;
}

bool fileModifiedTime(u16v path, std::int64_t& seconds) {
  struct stat st{};
  if (::stat(nativePath(path).c_str(), &st) != 0) {
    setFromErrno();
    return false;
  }
  seconds = static_cast<std::int64_t>(st.st_mtime);
  return true;
}

bool deleteFile(u16v path) {
  if (::unlink(nativePath(path).c_str()) != 0) {
    setFromErrno();
    return false;
  }
  return true;
}

bool removeEmptyDirectory(u16v path) {
  if (::rmdir(nativePath(path).c_str()) != 0) {
    setFromErrno();
    return false;
  }
  return true;
}

bool copyFile(u16v from, u16v to) {
  const FileHandle in = fileOpen(from, OpenMode::ReadExisting);
  if (in == kInvalidFile) return false;
  const FileHandle out = fileOpen(to, OpenMode::CreateAlways);
  if (out == kInvalidFile) {
    fileClose(in);
    return false;
  }
  char buf[65536];
  bool ok = true;
  for (;;) {
    std::uint32_t got = 0;
    if (!fileRead(in, buf, sizeof buf, got)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    if (!fileWrite(out, buf, got)) {
      ok = false;
      break;
    }
  }
  fileClose(in);
  fileClose(out);
  return ok;
}

bool replaceFile(u16v from, u16v to) {
  if (refused(to)) return false;
  const std::string target = nativePath(to);
  if (::rename(nativePath(from).c_str(), target.c_str()) != 0) {
    setFromErrno();
    return false;
  }
  // Make the rename itself durable.
  std::string folder = target.substr(0, target.find_last_of('/') == std::string::npos ? 0 : target.find_last_of('/'));
  if (folder.empty()) folder = ".";
  const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

std::vector<DirEntry> listDirectory(u16v folder, u16v ending) {
  std::vector<DirEntry> out;
  const std::string base = nativePath(folder);
  DIR* d = ::opendir(base.c_str());
  if (!d) {
    setFromErrno();
    return out;
  }
  tLastError = 0;
  while (dirent* e = ::readdir(d)) {
    if (::strcmp(e->d_name, ".") == 0 || ::strcmp(e->d_name, "..") == 0) continue;
    DirEntry entry;
    entry.name = utf8ToUtf16(e->d_name);
    if (!endsWithNoCase(entry.name, ending)) continue;
    struct stat st{};
    const std::string full = base + "/" + e->d_name;
    if (::stat(full.c_str(), &st) == 0) {
      entry.isDirectory = S_ISDIR(st.st_mode);
      entry.size = static_cast<std::uint64_t>(st.st_size);
      // POSIX keeps no creation time in stat; the modification time orders files written
      // once, as sheets are, the same way.
      entry.created = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 10000000 + st.st_mtim.tv_nsec / 100;
    }
    out.push_back(std::move(entry));
  }
  ::closedir(d);
  tLastError = 0;
  return out;
}

bool setCurrentDirectory(u16v path) {
  if (::chdir(nativePath(path).c_str()) != 0) {
    setFromErrno();
    return false;
  }
  return true;
}

u16 currentDirectory() {
  char buf[PATH_MAX];
  if (!::getcwd(buf, sizeof buf)) {
    setFromErrno();
    return u16();
  }
  return utf8ToUtf16(buf);
}

std::uint32_t lastErrorCode() { return tLastError; }
void setLastErrorCode(std::uint32_t code) { tLastError = code; }

u16 errorMessageText(std::uint32_t code) {
  const char* text = nullptr;
  switch (code) {
    case 0: text = "The operation completed successfully."; break;
    case winerr::kFileNotFound: text = "The system cannot find the file specified."; break;
    case winerr::kPathNotFound: text = "The system cannot find the path specified."; break;
    case winerr::kAccessDenied: text = "Access is denied."; break;
    case 6: text = "The handle is invalid."; break;
    case winerr::kWriteProtect: text = "The media is write protected."; break;
    case winerr::kSharingViolation:
      text = "The process cannot access the file because it is being used by another process.";
      break;
    case winerr::kFileExists: text = "The file exists."; break;
    case winerr::kDiskFull: text = "There is not enough space on the disk."; break;
    case winerr::kAlreadyExists: text = "Cannot create a file when that file already exists."; break;
    default: break;
  }
  std::string s = text ? text : (code >= 1000 ? ::strerror(static_cast<int>(code - 1000)) : "Unknown error.");
  return utf8ToUtf16(s + "\r\n");
}

}  // namespace tirelmo
