// One kind of exported data written twice as it streams by: "<name>.csv" (UTF-8, header
// row, RFC 4180 quoting, CR LF) and "<name>.json" (UTF-8, an array of objects, one a line,
// with the column names as keys). Neither file is held in memory: rows go out in blocks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "storage/file_ops.h"
#include "text/ustring.h"

namespace tirelmo {

// The values of one row, in column order. A row is reused from one record to the next, so
// that ten years of rows cost no allocation each.
class ExportRow {
 public:
  void clear() { count_ = 0; }
  void number(std::int64_t v);
  void text(u16v v);
  void textUtf8(std::string_view v);
  // No value: an empty CSV field, null in JSON.
  void none();

  struct Value {
    enum class Kind { Number, Text, None } kind = Kind::None;
    std::int64_t number = 0;
    std::string text;  // UTF-8
  };
  std::size_t size() const { return count_; }
  const Value& operator[](std::size_t i) const { return values_[i]; }

 private:
  Value& next();
  std::vector<Value> values_;
  std::size_t count_ = 0;
};

// A field as RFC 4180 wants it: in double quotes (inner quotes doubled) when it holds a
// comma, a quote, CR or LF, or begins or ends with a blank; as it is otherwise.
void appendCsvField(std::string& out, std::string_view utf8);
// A JSON string literal with its quotes.
void appendJsonString(std::string& out, std::string_view utf8);

class ExportTable {
 public:
  // Opens both files in the folder; columns are the header names and the JSON keys.
  ExportTable(u16v folder, std::string_view name, std::vector<std::string_view> columns);
  ExportTable(const ExportTable&) = delete;
  ExportTable& operator=(const ExportTable&) = delete;

  bool isOpen() const { return ok_; }
  // A row with fewer values than columns gets empty fields for the rest; more are dropped.
  void add(const ExportRow& row);
  // Writes what is buffered and replaces the files; false when either could not be written
  // whole (then neither of the old files, if any, was touched by the failed one).
  bool finish();
  std::int64_t rows() const { return rows_; }
  const std::string& name() const { return name_; }

 private:
  void flushIfFull(bool force);
  std::string name_;
  std::vector<std::string> keys_;  // JSON keys with their quotes and the colon
  std::size_t columnCount_ = 0;
  std::unique_ptr<AtomicFileWriter> csvFile_;
  std::unique_ptr<AtomicFileWriter> jsonFile_;
  std::string csv_;
  std::string json_;
  std::int64_t rows_ = 0;
  bool ok_ = false;
};

}  // namespace tirelmo
