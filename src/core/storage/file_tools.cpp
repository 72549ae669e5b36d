#include "storage/file_tools.h"

namespace tirelmo {

u16 folderOf(u16v path) {
  const std::size_t k = path.find_last_of(u"\\/");
  return k == u16v::npos ? u16() : u16(path.substr(0, k));
}

u16 baseName(u16v path) {
  const std::size_t k = path.find_last_of(u"\\/");
  return k == u16v::npos ? u16(path) : u16(path.substr(k + 1));
}

u16 joinPath(u16v folder, u16v name) {
  if (folder.empty()) return u16(name);
  u16 r(folder);
  if (r.back() != '\\' && r.back() != '/') r.push_back('\\');
  r.append(name);
  return r;
}

namespace {

bool hasWildcard(u16v s) { return s.find_first_of(u"*?") != u16v::npos; }

// Expands a name or pattern into the full paths of what it names.
std::vector<u16> expand(u16v pattern, bool& anyFolderError) {
  std::vector<u16> out;
  const u16 name = baseName(pattern);
  const u16 folder = folderOf(pattern);
  if (!hasWildcard(name)) {
    if (pathKind(pattern) != PathKind::Missing) out.emplace_back(pattern);
    return out;
  }
  const std::vector<DirEntry> entries = listDirectory(folder.empty() ? u16(u".") : folder);
  if (entries.empty() && lastErrorCode() != 0) anyFolderError = true;
  for (const DirEntry& e : entries)
    if (wildcardMatch(name, e.name)) out.push_back(joinPath(folder, e.name));
  return out;
}

std::uint32_t errorOr(std::uint32_t fallback) {
  const std::uint32_t e = lastErrorCode();
  return e ? e : fallback;
}

// Copies a file or a whole folder tree; returns 0 or the first error number met.
std::uint32_t copyItem(u16v from, u16v to, CopyPolicy policy) {
  if (pathKind(from) == PathKind::Directory) {
    std::uint32_t first = 0;
    if (createDirectory(to) == MkdirResult::Failed) return errorOr(winerr::kPathNotFound);
    setLastErrorCode(0);
    const std::vector<DirEntry> entries = listDirectory(from);
    if (entries.empty() && lastErrorCode() != 0) return lastErrorCode();
    for (const DirEntry& e : entries) {
      const std::uint32_t r = copyItem(joinPath(from, e.name), joinPath(to, e.name), policy);
      if (r && !first) first = r;
    }
    return first;
  }
  if (policy == CopyPolicy::KeepNewer) {
    std::int64_t src = 0, dst = 0;
    if (fileModifiedTime(to, dst) && fileModifiedTime(from, src) && dst >= src) return 0;
  }
  if (!copyFile(from, to)) return errorOr(winerr::kAccessDenied);
  return 0;
}

}  // namespace

int shellDelete(u16v pattern) {
  setLastErrorCode(0);
  bool folderError = false;
  const std::vector<u16> items = expand(pattern, folderError);
  if (items.empty()) return static_cast<int>(errorOr(winerr::kFileNotFound));
  std::uint32_t first = 0;
  for (const u16& p : items) {
    if (pathKind(p) == PathKind::Directory) continue;  // the rotation deletes files only
    if (!deleteFile(p) && !first) first = errorOr(winerr::kAccessDenied);
  }
  return static_cast<int>(first);
}

int shellCopy(u16v from, u16v to, CopyPolicy policy) {
  setLastErrorCode(0);
  bool folderError = false;
  const std::vector<u16> items = expand(from, folderError);
  if (items.empty()) return static_cast<int>(errorOr(winerr::kFileNotFound));
  const bool intoFolder = pathKind(to) == PathKind::Directory || items.size() > 1 || hasWildcard(baseName(from));
  if (intoFolder && pathKind(to) != PathKind::Directory) {
    if (createDirectory(to) == MkdirResult::Failed) return static_cast<int>(errorOr(winerr::kPathNotFound));
  }
  std::uint32_t first = 0;
  for (const u16& p : items) {
    const u16 target = intoFolder ? joinPath(to, baseName(p)) : u16(to);
    const std::uint32_t r = copyItem(p, target, policy);
    if (r && !first) first = r;
  }
  return static_cast<int>(first);
}

bool readFileBytes(u16v path, std::string& bytes, std::uint32_t maxBytes) {
  bytes.clear();
  const FileHandle h = fileOpen(path, OpenMode::ReadExisting);
  if (h == kInvalidFile) return false;
  const std::int64_t size = fileSize(h);
  std::uint32_t want = maxBytes;
  if (size >= 0 && static_cast<std::uint64_t>(size) < want) want = static_cast<std::uint32_t>(size);
  bytes.resize(want);
  std::uint32_t total = 0;
  bool ok = true;
  while (total < want) {
    std::uint32_t got = 0;
    if (!fileRead(h, bytes.data() + total, want - total, got)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    total += got;
  }
  fileClose(h);
  bytes.resize(total);
  return ok;
}


}  // namespace tirelmo
