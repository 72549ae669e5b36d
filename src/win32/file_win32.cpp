// The file port on Windows.
#include <windows.h>

#include "platform/file.h"
#include "wide.h"

namespace tirelmo {

namespace {

// Absolute drive paths longer than the classic limit go through the "\\?\" form, which
// accepts them but no longer normalises '/' or "..", so it is used only when needed.
std::wstring sysPath(u16v path) {
  std::wstring p = Wstr(path);
  if (p.size() >= MAX_PATH - 12 && p.size() > 2 && p[1] == L':' && p[2] == L'\\') {
    for (wchar_t& c : p)
      if (c == L'/') c = L'\\';
    p.insert(0, L"\\\\?\\");
  }
  return p;
}

HANDLE toHandle(FileHandle h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

FileHandle fileOpen(u16v path, OpenMode mode) {
  DWORD access = GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = OPEN_EXISTING;
  switch (mode) {
    case OpenMode::ReadExisting: access = GENERIC_READ; break;
    case OpenMode::ReadWriteNew: disposition = CREATE_NEW; break;
    case OpenMode::ReadWriteExisting: disposition = OPEN_EXISTING; break;
    case OpenMode::CreateAlways: disposition = CREATE_ALWAYS; break;
  }
  HANDLE h = CreateFileW(sysPath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return kInvalidFile;
  return reinterpret_cast<FileHandle>(h);
}

bool fileRead(FileHandle h, void* buffer, std::uint32_t size, std::uint32_t& got) {
  DWORD n = 0;
  got = 0;
  if (!ReadFile(toHandle(h), buffer, size, &n, nullptr)) return false;
  got = n;
  return true;
}

bool fileWrite(FileHandle h, const void* data, std::uint32_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD n = 0;
    if (!WriteFile(toHandle(h), p, size, &n, nullptr)) return false;
    if (n == 0) {
      SetLastError(ERROR_DISK_FULL);
      return false;
    }
    p += n;
    size -= n;
  }
  return true;
}

bool fileSeekToEnd(FileHandle h) {
  LARGE_INTEGER zero{};
  return SetFilePointerEx(toHandle(h), zero, nullptr, FILE_END) != 0;
}

bool fileTruncate(FileHandle h, std::int64_t size) {
  LARGE_INTEGER at{};
  at.QuadPart = size;
  return SetFilePointerEx(toHandle(h), at, nullptr, FILE_BEGIN) && SetEndOfFile(toHandle(h));
}

std::int64_t fileSize(FileHandle h) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(toHandle(h), &size)) return -1;
  return size.QuadPart;
}

bool fileFlush(FileHandle h) { return FlushFileBuffers(toHandle(h)) != 0; }

void fileClose(FileHandle h) {
  if (h != kInvalidFile) CloseHandle(toHandle(h));
}

PathKind pathKind(u16v path) {
  const DWORD a = GetFileAttributesW(sysPath(path).c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
  return (a & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Directory : PathKind::File;
}

MkdirResult createDirectory(u16v path) {
  if (CreateDirectoryW(sysPath(path).c_str(), nullptr)) return MkdirResult::Created;
  return GetLastError() == ERROR_ALREADY_EXISTS ? MkdirResult::AlreadyExists : MkdirResult::Failed;
}

bool fileModifiedTime(u16v path, std::int64_t& seconds) {
  WIN32_FILE_ATTRIBUTE_DATA d{};
  if (!GetFileAttributesExW(sysPath(path).c_str(), GetFileExInfoStandard, &d)) return false;
  ULARGE_INTEGER t;
  t.LowPart = d.ftLastWriteTime.dwLowDateTime;
  t.HighPart = d.ftLastWriteTime.dwHighDateTime;
  seconds = static_cast<std::int64_t>(t.QuadPart / 10000000ULL);
  return true;
}

bool deleteFile(u16v path) { return DeleteFileW(sysPath(path).c_str()) != 0; }

bool removeEmptyDirectory(u16v path) { return RemoveDirectoryW(sysPath(path).c_str()) != 0; }

bool copyFile(u16v from, u16v to) { return CopyFileW(sysPath(from).c_str(), sysPath(to).c_str(), FALSE) != 0; }

bool replaceFile(u16v from, u16v to) {
  return MoveFileExW(sysPath(from).c_str(), sysPath(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::vector<DirEntry> listDirectory(u16v folder, u16v ending) {
  std::vector<DirEntry> out;
  u16 pattern(folder);
  if (!pattern.empty() && pattern.back() != u'\\' && pattern.back() != u'/') pattern.push_back(u'\\');
  pattern.push_back(u'*');
  // Wildcards in the ending would widen the match; it is only ever a plain name ending.
  if (ending.find_first_of(u"*?") == u16v::npos) pattern.append(ending);
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(sysPath(pattern).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    if (wcscmp(fd.cFileName, L".") == 0 || wcscmp(fd.cFileName, L"..") == 0) continue;
    DirEntry e;
    e.name = U(fd.cFileName);
    e.isDirectory = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    e.size = (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    e.created = static_cast<std::int64_t>((static_cast<std::uint64_t>(fd.ftCreationTime.dwHighDateTime) << 32) |
                                          fd.ftCreationTime.dwLowDateTime);
    out.push_back(std::move(e));
  } while (FindNextFileW(h, &fd));
  const DWORD err = GetLastError();
  FindClose(h);
  SetLastError(err == ERROR_NO_MORE_FILES ? 0 : err);
  return out;
}

bool setCurrentDirectory(u16v path) { return SetCurrentDirectoryW(Wstr(path).c_str()) != 0; }

u16 currentDirectory() {
  wchar_t buf[MAX_PATH * 4];
  const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(sizeof buf / sizeof buf[0]), buf);
  if (n == 0 || n >= sizeof buf / sizeof buf[0]) return u16();
  return U(buf);
}

std::uint32_t lastErrorCode() { return GetLastError(); }
void setLastErrorCode(std::uint32_t code) { SetLastError(code); }

u16 errorMessageText(std::uint32_t code) {
  wchar_t buf[512];
  // The internet errors (12001..12175) have their texts in WinINet, not in the system's table;
  // the module is only asked when the program already loaded it for a request.
  const HMODULE wininet = code >= 12000 && code < 12200 ? GetModuleHandleW(L"wininet.dll") : nullptr;
  const DWORD source = wininet ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM;
  const DWORD n = FormatMessageW(source | FORMAT_MESSAGE_IGNORE_INSERTS, wininet, code,
                                 MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buf,
                                 static_cast<DWORD>(sizeof buf / sizeof buf[0]), nullptr);
  if (n == 0) return u16();
  return U(std::wstring(buf, n));
}

}  // namespace tirelmo
