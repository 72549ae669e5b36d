// Record lines: UTF-16LE text lines of double-quoted CSV fields, each line scrambled on its
// own and ended by a plain CR LF. Almost every data file of the program is made of them.
#pragma once

#include <cstdint>
#include <functional>

#include "storage/file_ops.h"
#include "text/ustring.h"

namespace tirelmo {

// One scrambled line (key position and carry start afresh), then plain 0D 00 0A 00, all in
// one write. False when the write failed.
bool writeRecordLine(AtomicFileWriter& file, u16v text);

// One unscrambled line: the text as UTF-16LE, then CR LF, in one write.
bool writePlainLine(AtomicFileWriter& file, u16v text);

// Decodes in place a line as CFile::gets returns it: every unit but the last (the CR) is
// descrambled. A line of one unit or none is left as it is.
void decodeRecordLine(u16& line);

// What a loader made of one line that readRecordFile handed to it.
enum class LineVerdict {
  Accept,    // a record; the reading goes on
  Stop,      // a record; the reading ends
  Unparsed,  // its fields don't parse; nothing was taken from it
};

// Scrambled bytes can hold the units CR LF, which end the line there: a record whose text
// scrambles that way reaches the loader in pieces. An unparsed line is therefore joined with
// the next one (the CR LF put back between them) and handed over again, at most this many
// times and never beyond the longest line CFile can hand out.
inline constexpr int kMaxRecordJoins = 4;

// Reads a record file through CFile: the first line (the header) is dropped unread, every
// further line is decoded when `scrambled` and handed to onLine with its CR still at the end.
// A line that stays unparsed after its joins is dropped with the log line
// "%s() err reading row ##%d" (`who` and its line number, the header being 0), and the
// reading goes on with the line after it. Returns the number of lines read, the header
// included; 0 when the file is missing or empty.
std::uint32_t readRecordFile(u16v path, bool scrambled, u16v who,
                             const std::function<LineVerdict(u16& line)>& onLine);

}  // namespace tirelmo
