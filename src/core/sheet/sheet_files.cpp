#include "sheet/sheet_files.h"

#include <memory>

#include "storage/le_bytes.h"
#include "base/log.h"
#include "sheet/legacy_formats.h"
#include "stats/month_stats.h"
#include "storage/file_ops.h"
#include "storage/scrambler.h"
#include "text/scan.h"

namespace tirelmo {

namespace {

// The text as a record stores it: up to a NUL the editors never produce, at most 179 units.
u16v storedText(const u16& text) {
  u16v t(text);
  const std::size_t nul = t.find(u'\0');
  if (nul != u16v::npos) t = t.substr(0, nul);
  return t.substr(0, kRowTextMax);
}

}  // namespace

// ---- Names and folders ----------------------------------------------------------------

u16 sheetFileNameFor(int year, int month, int day, int dayOfWeek, u16v extension) {
  if (extension == u".pm6" || extension == u".pm5")
    return fmt(u"DailyTask_%d-%d-%d-%d%s", year, month, day, dayOfWeek, extension);
  return fmt(u"DailyTask_%d-%d-%d%s", year, month, day, extension);
}

u16 sheetFilePath(u16v userDataDir, int year, int month, u16v fileName) {
  return fmt(u"%s\\DailyTask\\%d\\%d\\%s", userDataDir, year, month, fileName);
}

// ---- The row record ---------------------------------------------------------------------

std::string encodeSheetHeader() {
  std::string h(kSheetHeaderBytes, '\0');
  putLe32(reinterpret_cast<unsigned char*>(h.data()), kSheetHeaderBytes);
  h[4] = static_cast<char>(kSheetFormatVersion);
  return h;
}

void appendRowRecord(std::string& out, const TodoRow& row, int index) {
  const u16v text = storedText(row.text);
  if (text.empty()) return;
  const std::uint32_t textBytes = static_cast<std::uint32_t>(2 * text.size());
  const std::uint32_t len = kRowRecordFixedBytes + textBytes;
  std::string rec(len, '\0');
  auto* p = reinterpret_cast<unsigned char*>(rec.data());
  const RowInfo& info = row.info;
  putLe32(p, len);
  p[4] = static_cast<unsigned char>(index);
  p[5] = row.pomodoros;
  p[6] = row.abandoned;
  p[7] = row.internalInterruptions;
  p[8] = row.externalInterruptions;
  p[9] = row.estimated;
  // In memory bit 0 is the unplanned flag, which is not stored; on disk it is the done mark.
  p[10] = static_cast<unsigned char>((row.isDone() ? 1 : 0) | (info.flags & (rowflag::kRepeat | rowflag::kDeadline)));
  p[11] = row.pastPomodoros;
  p[12] = row.pastAbandoned;
  p[13] = row.pastInternal;
  p[14] = row.pastExternal;
  p[15] = info.ageDays;
  p[16] = info.category;
  putLe32(p + 20, static_cast<std::uint32_t>(info.minutesToday));
  putLe32(p + 24, static_cast<std::uint32_t>(info.pastMinutes));
  putLe32(p + 28, static_cast<std::uint32_t>(info.projectId));
  putLe32(p + 32, static_cast<std::uint32_t>(info.reserved1));
  putLe32(p + 36, static_cast<std::uint32_t>(info.reserved2));
  putLe32(p + 40, static_cast<std::uint32_t>(info.reserved3));
  p[44] = info.deadlineYear;
  p[45] = info.deadlineMonth;
  p[46] = info.deadlineDay;
  p[48] = static_cast<unsigned char>(info.reserved4);
  p[49] = static_cast<unsigned char>(info.reserved4 >> 8);
  std::string plain(textBytes, '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    plain[2 * i] = static_cast<char>(text[i] & 0xFF);
    plain[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  scrambleBytes(plain.data(), p + kRowRecordTextOffset, textBytes);
  out += rec;
}

RowRecordStatus decodeRowRecord(std::string_view record, int rowCount, int& index, TodoRow& row) {
  const std::size_t len = record.size();
  if (len < kRowRecordFixedBytes || len > kRowRecordMaxBytes || len % 2 != 0) return RowRecordStatus::BadLength;
  const auto* p = reinterpret_cast<const unsigned char*>(record.data());
  index = p[4];
  if (index >= rowCount) return RowRecordStatus::BadIndex;
  row = TodoRow();
  RowInfo& info = row.info;
  row.pomodoros = p[5];
  row.abandoned = p[6];
  row.internalInterruptions = p[7];
  row.externalInterruptions = p[8];
  row.estimated = p[9];
  row.done = (p[10] & 1) ? 1 : 0;
  info.flags = static_cast<std::uint8_t>(p[10] & (rowflag::kRepeat | rowflag::kDeadline));
  row.pastPomodoros = p[11];
  row.pastAbandoned = p[12];
  row.pastInternal = p[13];
  row.pastExternal = p[14];
  info.ageDays = p[15];
  info.category = p[16];
  info.minutesToday = static_cast<std::int32_t>(getLe32(p + 20));
  info.pastMinutes = static_cast<std::int32_t>(getLe32(p + 24));
  info.projectId = static_cast<std::int32_t>(getLe32(p + 28));
  info.reserved1 = static_cast<std::int32_t>(getLe32(p + 32));
  info.reserved2 = static_cast<std::int32_t>(getLe32(p + 36));
  info.reserved3 = static_cast<std::int32_t>(getLe32(p + 40));
  info.deadlineYear = p[44];
  info.deadlineMonth = p[45];
  info.deadlineDay = p[46];
  info.reserved4 = static_cast<std::uint16_t>(p[48] | (p[49] << 8));
  const std::size_t textBytes = len - kRowRecordFixedBytes;
  unsigned char plain[2 * kRowTextMax];
  descrambleBytes(p + kRowRecordTextOffset, plain, textBytes);
  for (std::size_t i = 0; i < textBytes; i += 2) {
    const char16_t unit = static_cast<char16_t>(plain[i] | (plain[i + 1] << 8));
    if (unit == 0) break;
    row.text.push_back(unit);
  }
  clampLoadedRow(row);
  return RowRecordStatus::Ok;
}

namespace {

bool recordLengthInRange(std::uint32_t len) {
  return len >= kRowRecordFixedBytes && len <= kRowRecordMaxBytes && len % 2 == 0;
}

// What a record ending at `end` leads to when its length is right: the end of the data, a
// tail too short to be anything but a torn record, or the next record's length.
bool leadsToRecord(const unsigned char* p, std::size_t size, std::size_t end) {
  return end == size || size - end < 4 || recordLengthInRange(getLe32(p + end));
}

// A record that can be trusted after damage: its length in range and inside the data, its
// row index in range, the two zero bytes every record ends with, and after it the end of
// the data or a record with both its length and its row index in range. (A field of a
// record that merely looks like a length rarely passes all of that.)
bool wholeRecordAt(const unsigned char* p, std::size_t size, std::size_t pos, int rowCount) {
  if (size - pos < kRowRecordFixedBytes) return false;
  const std::uint32_t len = getLe32(p + pos);
  if (!recordLengthInRange(len) || len > size - pos || p[pos + 4] >= rowCount) return false;
  const std::size_t end = pos + len;
  if (p[end - 2] != 0 || p[end - 1] != 0) return false;
  if (end == size) return true;
  return size - end >= 5 && recordLengthInRange(getLe32(p + end)) && p[end + 4] < rowCount;
}

std::size_t findWholeRecord(const unsigned char* p, std::size_t size, std::size_t from, int rowCount) {
  for (std::size_t q = from; q + kRowRecordFixedBytes <= size; ++q)
    if (wholeRecordAt(p, size, q, rowCount)) return q;
  return std::string_view::npos;
}

}  // namespace

int readRowRecords(std::string_view data, int rowCount, const std::function<void(int, TodoRow&)>& onRow,
                   bool* damaged) {
  const auto* p = reinterpret_cast<const unsigned char*>(data.data());
  const std::size_t size = data.size();
  constexpr std::size_t npos = std::string_view::npos;
  bool skipped = false;
  const auto report = [&](int rows) {
    if (damaged) *damaged = skipped;
    return rows;
  };
  if (size < 4) {
    if (size != 0) {
      logLine(u"Tdl header cut after %u bytes", size);
      skipped = true;
    }
    return report(0);
  }
  // The header's content is not needed: any version loads, whatever its length, as long as
  // that length leads to a record or to the end of the file.
  const std::uint32_t headerLen = getLe32(p);
  std::size_t pos = headerLen;
  if (headerLen > size || (headerLen != kSheetHeaderBytes && (headerLen < 4 || !leadsToRecord(p, size, headerLen)))) {
    logLine(u"Tdl header damaged: length %u of %u bytes", headerLen, size);
    skipped = true;
    // Every header ever written is 40 bytes long; failing that, the records are searched.
    if (size >= kSheetHeaderBytes && leadsToRecord(p, size, kSheetHeaderBytes)) {
      pos = kSheetHeaderBytes;
    } else {
      pos = findWholeRecord(p, size, 4, rowCount);
      if (pos == npos) pos = size;
    }
  }
  int rows = 0;
  while (pos < size) {
    const std::size_t left = size - pos;
    const std::uint32_t len = left >= 4 ? getLe32(p + pos) : 0;
    if (left < 4 || !recordLengthInRange(len) || len > left) {
      skipped = true;
      const std::size_t next = findWholeRecord(p, size, pos + 1, rowCount);
      if (next == npos) {
        logLine(u"Tdl record at byte %u cut or damaged (length %u, %u bytes left): load ends here", pos, len, left);
        break;
      }
      logLine(u"Tdl record at byte %u damaged (length %u): load goes on at byte %u", pos, len, next);
      pos = next;
      continue;
    }
    const std::size_t end = pos + len;
    if (!leadsToRecord(p, size, end)) {
      // Either this record's length is wrong or the next one's is: a whole record starting
      // inside this one tells which.
      skipped = true;
      const std::size_t next = findWholeRecord(p, size, pos + 1, rowCount);
      if (next != npos && next < end) {
        logLine(u"Tdl record at byte %u skipped: length %u runs into the record at byte %u", pos, len, next);
        pos = next;
        continue;
      }
    }
    int index = -1;
    TodoRow row;
    switch (decodeRowRecord(data.substr(pos, len), rowCount, index, row)) {
      case RowRecordStatus::BadLength:
        logLine(u"Tdl record at byte %u skipped: bad length %u", pos, len);
        skipped = true;
        break;
      case RowRecordStatus::BadIndex:
        logLine(u"Tdl record at byte %u skipped: row %d out of range", pos, index);
        skipped = true;
        break;
      case RowRecordStatus::Ok:
        onRow(index, row);
        ++rows;
        break;
    }
    pos = end;
  }
  return report(rows);
}

}  // namespace tirelmo
