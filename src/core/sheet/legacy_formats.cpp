#include "sheet/legacy_formats.h"

#include <algorithm>
#include <vector>

#include "sheet/sheet_load.h"
#include "storage/le_bytes.h"
#include "base/log.h"
#include "storage/scrambler.h"

namespace tirelmo {

namespace {

const unsigned char* bytesOf(std::string_view s) { return reinterpret_cast<const unsigned char*>(s.data()); }

// The plain content of a format: the leading scrambled block descrambled, the rest as it
// is. What a short file lacks is zero in the plain content (zeros in the scrambled domain
// would descramble into junk texts).
std::string plainContent(std::string_view bytes, std::size_t scrambledBytes, std::size_t totalBytes) {
  std::string out(totalBytes, '\0');
  const std::size_t have = std::min(bytes.size(), totalBytes);
  const std::size_t inBlock = std::min(have, scrambledBytes);
  descrambleBytes(bytes.data(), out.data(), inBlock);
  if (have > scrambledBytes) out.replace(scrambledBytes, have - scrambledBytes, bytes.substr(scrambledBytes, have - scrambledBytes));
  return out;
}

// UTF-16LE units up to the first NUL or the field's end, at most 179.
u16 unitsText(const unsigned char* p, std::size_t units) {
  u16 t;
  for (std::size_t i = 0; i < units && t.size() < kRowTextMax; ++i) {
    const char16_t u = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
    if (u == 0) break;
    t.push_back(u);
  }
  return t;
}

// A zero-padded UTF-8 field of the older formats.
u16 utf8Text(const unsigned char* p, std::size_t bytes) {
  std::size_t n = 0;
  while (n < bytes && p[n] != 0) ++n;
  return cutToCapacity(utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(p), n)), kRowTextCapacity);
}

// The marks the first formats used instead of counters.
void takeScoreChars(TodoRow& row, const unsigned char* p) {
  auto bump = [](std::uint8_t& c) {
    if (c < 255) ++c;
  };
  for (int i = 0; i < 10 && p[i] != 0; ++i) {
    switch (p[i]) {
      case 'X':
      case 'x': bump(row.pomodoros); break;
      case '\'': bump(row.internalInterruptions); break;
      case '-': bump(row.externalInterruptions); break;
      case 'V':
      case 'v': row.done = 1; break;
      default: logLine(u"Unknown score"); break;
    }
  }
}

void finishRow(TodoRow& row) {
  if (row.isFree())
    row.clear();
  else
    clampLoadedRow(row);
}

}  // namespace

void adoptSeparatorRow(TodoSheet& sheet) {
  sheet.separatorIndex = -1;
  for (int i = 0; i < sheet.rowCount(); ++i) {
    TodoRow& row = sheet.rows[static_cast<std::size_t>(i)];
    if (!isSeparatorText(row.text)) continue;
    if (sheet.separatorIndex == -1) {
      sheet.separatorIndex = i;
      row.clearScoresAndInfo();
    } else {
      row.clear();
    }
  }
}

// Reads one whole file of a fixed-size format, never more than its size. Empty when
// nothing could be read. A file cut short, or one that could not be read as far as it
// goes, marks the sheet as read with damage.
std::string readFixedFormat(TodoSheet& sheet, FileHandle file, std::uint32_t size, u16v reader) {
  const std::int64_t onDisk = fileSize(file);
  std::string bytes = readOpenFile(file, size);
  const bool readFailed = bytes.size() < size && onDisk > static_cast<std::int64_t>(bytes.size());
  sheet.readWithDamage = readFailed || (!bytes.empty() && bytes.size() < size);
  if (bytes.empty())
    logLine(u"%s() nothing to read", reader);
  else if (bytes.size() < size)
    logLine(u"%s() file holds %u of %u bytes, the rest reads as empty", reader, bytes.size(), size);
  return bytes;
}


void setLooks(TodoSheet& sheet) {
  for (int i = 0; i < sheet.rowCount(); ++i) setRowLook(sheet, i);
}


// ---- Byte-level parsers -----------------------------------------------------------------

void parsePm5(std::string_view bytes, TodoSheet& sheet, bool takeDayRecord) {
  const std::string plain = plainContent(bytes, 0, kPm5FileBytes);
  const unsigned char* p = bytesOf(plain);
  const int rows = std::min(sheet.rowCount(), 25);
  for (int i = 0; i < rows; ++i) {
    TodoRow& row = sheet.rows[static_cast<std::size_t>(i)];
    row = TodoRow();
    row.text = unitsText(p + i * 360, 180);
    row.setScoreBytes(p + kPm5TextBytes + i * 10);
    const unsigned char* info = p + kPm5TextBytes + kPm5ScoreBytes + i * 80;
    row.info.category = info[0];
    row.info.minutesToday = static_cast<std::int32_t>(getLe32(info + 4));
    // Deadlines came later: the date bytes of this format mean nothing, so neither does a
    // deadline bit; the unplanned and repeat bits are kept.
    row.info.flags = static_cast<std::uint8_t>(info[11] & (rowflag::kUnplanned | rowflag::kRepeat));
    row.info.ageDays = info[15];
    row.info.pastMinutes = static_cast<std::int32_t>(getLe32(info + 16));
    row.info.projectId = static_cast<std::int32_t>(getLe32(info + 20));
    finishRow(row);
  }
  if (takeDayRecord) sheet.dayTotals = DayStats::fromBytes(p + kPm5TextBytes + kPm5ScoreBytes + kPm5InfoBytes);
}

void parsePm4(std::string_view bytes, TodoSheet& sheet) {
  constexpr std::size_t kBlock = 25 * 120;
  const std::string plain = plainContent(bytes, kBlock, kPm4FileBytes);
  const unsigned char* block = bytesOf(plain);
  const unsigned char* scores = block + kBlock;
  const int rows = std::min(sheet.rowCount(), 25);
  for (int i = 0; i < rows; ++i) {
    TodoRow& row = sheet.rows[static_cast<std::size_t>(i)];
    row = TodoRow();
    row.text = unitsText(block + i * 120, 60);
    row.setScoreBytes(scores + i * 10);
    finishRow(row);
  }
}

void parsePm3(std::string_view bytes, TodoSheet& sheet) {
  constexpr std::size_t kBlock = 25 * 180;
  const std::string plain = plainContent(bytes, kBlock, kPm3FileBytes);
  const unsigned char* block = bytesOf(plain);
  const unsigned char* scores = block + kBlock;
  const int rows = std::min(sheet.rowCount(), 25);
  for (int i = 0; i < rows; ++i) {
    TodoRow& row = sheet.rows[static_cast<std::size_t>(i)];
    row = TodoRow();
    row.text = utf8Text(block + i * 180, 180);
    row.setScoreBytes(scores + i * 10);
    finishRow(row);
  }
  sheet.dayTotalsSaved = DayStats::fromBytes(scores + 25 * 10);
}

void parseScoreCharFormat(std::string_view bytes, TodoSheet& sheet, int storedRows, int unplannedRows) {
  if (storedRows <= 0 || unplannedRows < 0 || unplannedRows > storedRows) return;
  const std::size_t blockBytes = static_cast<std::size_t>(storedRows) * 180;
  const std::string plain = plainContent(bytes, blockBytes, blockBytes + static_cast<std::size_t>(storedRows) * 10 + 16);
  const unsigned char* block = bytesOf(plain);
  const unsigned char* scores = block + blockBytes;

  std::vector<TodoRow> stored(static_cast<std::size_t>(storedRows));
  for (int i = 0; i < storedRows; ++i) {
    TodoRow& row = stored[static_cast<std::size_t>(i)];
    row.text = utf8Text(block + i * 180, 180);
    if (!row.isFree()) takeScoreChars(row, scores + i * 10);
    finishRow(row);
  }
  sheet.dayTotalsSaved = DayStats::fromBytes(scores + storedRows * 10);

  const int rowCount = sheet.rowCount();
  const int planned = storedRows - unplannedRows;
  // The unplanned block goes where the sheet keeps its separator. An index that is not set
  // (or would not leave room for the block) falls back to the usual first choice, row 12.
  int at = sheet.separatorIndex;
  if (at < planned || at + unplannedRows > rowCount) at = 12;
  if (at < planned || at + unplannedRows > rowCount) at = planned;
  for (int i = 0; i < storedRows; ++i) {
    const int to = i < planned ? i : at + (i - planned);
    if (to >= 0 && to < rowCount) sheet.rows[static_cast<std::size_t>(to)] = std::move(stored[static_cast<std::size_t>(i)]);
  }
}

}  // namespace tirelmo
