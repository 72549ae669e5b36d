// The file port. Files are everywhere in the program, so they are plain functions chosen
// at link time (one definition per platform) rather than an injected object.
//
// Paths are UTF-16 with backslashes, exactly as the program builds and logs them; a
// relative path resolves against the current directory. The POSIX adapter maps '\' to '/'.
// Every failing call leaves its reason in the thread's last platform error (lastErrorCode),
// with Windows error numbers on every platform so that log lines read the same.
#pragma once

#include <cstdint>
#include <vector>

#include "text/ustring.h"

namespace tirelmo {

using FileHandle = std::intptr_t;
inline constexpr FileHandle kInvalidFile = -1;

enum class OpenMode {
  ReadExisting,   // read only, shared read and write; must exist
  ReadWriteNew,   // read and write, shared; fails when the file exists
  ReadWriteExisting,  // read and write, shared; must exist
  CreateAlways,   // read and write, shared; an existing file is truncated
};

FileHandle fileOpen(u16v path, OpenMode mode);
// Reads up to size bytes; false on an error (then got is 0). got < size means end of file.
bool fileRead(FileHandle h, void* buffer, std::uint32_t size, std::uint32_t& got);
// Writes all size bytes or fails.
bool fileWrite(FileHandle h, const void* data, std::uint32_t size);
bool fileSeekToEnd(FileHandle h);
// Cuts the file to its first size bytes and moves the position to the new end.
bool fileTruncate(FileHandle h, std::int64_t size);
// Size in bytes, or -1.
std::int64_t fileSize(FileHandle h);
// Forces the written bytes to the disk (before a replace, so a crash leaves one whole file).
bool fileFlush(FileHandle h);
void fileClose(FileHandle h);

enum class PathKind { Missing, File, Directory };
PathKind pathKind(u16v path);

enum class MkdirResult { Created, AlreadyExists, Failed };
MkdirResult createDirectory(u16v path);

// Last modification time of a file or folder, in seconds since an arbitrary fixed epoch
// (only comparisons are meaningful). False when the path cannot be read.
bool fileModifiedTime(u16v path, std::int64_t& seconds);

bool deleteFile(u16v path);
bool removeEmptyDirectory(u16v path);
// Copies one file; an existing destination is overwritten.
bool copyFile(u16v from, u16v to);
// Atomically replaces `to` by `from` (same folder), durable once it returns true.
bool replaceFile(u16v from, u16v to);

struct DirEntry {
  u16 name;  // bare name, without the folder
  bool isDirectory = false;
  std::uint64_t size = 0;
  std::int64_t created = 0;  // creation time, 100-ns units (only comparisons are meaningful)
};
// The entries of a folder, without "." and "..". Empty when the folder cannot be read
// (then lastErrorCode tells why). With an ending, at least the entries whose name ends
// with it in any case (Windows may add one whose short name does): the platform skips the
// others before it reads their details, which is much cheaper in a folder of hundreds.
std::vector<DirEntry> listDirectory(u16v folder, u16v ending = {});

bool setCurrentDirectory(u16v path);
u16 currentDirectory();

// The calling thread's last platform error, as a Windows error number.
std::uint32_t lastErrorCode();
void setLastErrorCode(std::uint32_t code);
// The platform's text for an error number; like the Windows message table it usually ends
// with its own CR LF.
u16 errorMessageText(std::uint32_t code);

// Windows error numbers the core looks at.
namespace winerr {
inline constexpr std::uint32_t kFileNotFound = 2;
inline constexpr std::uint32_t kPathNotFound = 3;
inline constexpr std::uint32_t kAccessDenied = 5;
inline constexpr std::uint32_t kWriteProtect = 19;
inline constexpr std::uint32_t kSharingViolation = 32;
inline constexpr std::uint32_t kHandleDiskFull = 39;
inline constexpr std::uint32_t kFileExists = 80;
inline constexpr std::uint32_t kDiskFull = 112;
inline constexpr std::uint32_t kAlreadyExists = 183;
}  // namespace winerr

}  // namespace tirelmo
