// Random file bytes through the length-value reader, with the caller's buffer exactly as
// large as it says, so any write past it is caught.
#include <cstdint>
#include <cstring>
#include <memory>

#include "fuzz_input_file.h"
#include "storage/cfile.h"

using namespace tirelmo;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::InputFile input;
  // The room varies with the input: the sheet reader's largest row, the buffer size, more.
  static constexpr std::size_t kRooms[] = {426, 1022, 1500};
  const std::size_t room = size ? kRooms[data[size - 1] % 3] : 426;
  const std::unique_ptr<std::uint8_t[]> dest(new std::uint8_t[room]);

  CFile file(input.write(data, size), kCFileLvRecords);
  std::size_t offset = 0;
  while (const std::uint32_t len = file.getLvRecord(dest.get(), room)) {
    require(len >= 4 && len <= room && len <= CFile::kRefillBytes, "record length");
    require(offset + len <= size, "record beyond the data");
    require(std::memcmp(dest.get(), data + offset, len) == 0, "record differs from the file");
    const std::uint32_t stored = dest[0] | (dest[1] << 8) | (dest[2] << 16) | (std::uint32_t(dest[3]) << 24);
    require(stored == len, "length field");
    offset += len;
  }
  return 0;
}
