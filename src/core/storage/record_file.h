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

// Reads a record file through CFile: the first line (the header) is dropped unread, every
// further line is decoded when `scrambled` and handed to onLine with its CR still at the
// end. onLine returns false to stop early. Returns how many lines were handed over.
std::uint32_t readRecordFile(u16v path, bool scrambled, const std::function<bool(u16& line)>& onLine);

}  // namespace tirelmo
