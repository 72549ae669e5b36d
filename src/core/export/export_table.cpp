#include "export/export_table.h"

#include "base/log.h"
#include "storage/file_tools.h"

namespace tirelmo {

namespace {

// Rows are written out in blocks of about this size: large enough that ten years of rows
// take few writes, small enough that memory stays flat.
constexpr std::size_t kFlushBytes = 64 * 1024;

bool write(AtomicFileWriter& file, std::string& buffer) {
  const bool ok = buffer.empty() || file.write(buffer);
  buffer.clear();
  return ok;
}

}  // namespace

ExportRow::Value& ExportRow::next() {
  if (count_ == values_.size()) values_.emplace_back();
  return values_[count_++];
}

void ExportRow::number(std::int64_t v) {
  Value& x = next();
  x.kind = Value::Kind::Number;
  x.number = v;
}

void ExportRow::text(u16v v) {
  Value& x = next();
  x.kind = Value::Kind::Text;
  x.text = utf16ToUtf8(v);
}

void ExportRow::textUtf8(std::string_view v) {
  Value& x = next();
  x.kind = Value::Kind::Text;
  x.text.assign(v);
}

void ExportRow::none() { next().kind = Value::Kind::None; }

void appendCsvField(std::string& out, std::string_view v) {
  bool quote = !v.empty() && (v.front() == ' ' || v.back() == ' ');
  for (char c : v)
    if (c == ',' || c == '"' || c == '\r' || c == '\n') quote = true;
  if (quote) out.push_back('"');
  for (char c : v) {
    if (c == '\0') continue;  // csv readers refuse a NUL anywhere in a line
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  if (quote) out.push_back('"');
}

void appendJsonString(std::string& out, std::string_view v) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (char c : v) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (u < 0x20) {
          out += "\\u00";
          out.push_back(kHex[u >> 4]);
          out.push_back(kHex[u & 15]);
        } else {
          out.push_back(c);
        }
    }
  }
  out.push_back('"');
}

ExportTable::ExportTable(u16v folder, std::string_view name, std::vector<std::string_view> columns)
    : name_(name), columnCount_(columns.size()) {
  const u16 base = joinPath(folder, utf8ToUtf16(name));
  csvFile_ = std::make_unique<AtomicFileWriter>(base + u".csv");
  jsonFile_ = std::make_unique<AtomicFileWriter>(base + u".json");
  ok_ = csvFile_->isOpen() && jsonFile_->isOpen();
  if (!ok_) logLastError(u"ExportTable");
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i) csv_.push_back(',');
    appendCsvField(csv_, columns[i]);
    std::string key;
    appendJsonString(key, columns[i]);
    key.push_back(':');
    keys_.push_back(std::move(key));
  }
  csv_ += "\r\n";
  json_ += "[";
}

void ExportTable::add(const ExportRow& row) {
  if (!ok_) return;
  json_ += rows_ == 0 ? "\n{" : ",\n{";
  for (std::size_t i = 0; i < columnCount_; ++i) {
    if (i) {
      csv_.push_back(',');
      json_.push_back(',');
    }
    json_ += keys_[i];
    if (i >= row.size() || row[i].kind == ExportRow::Value::Kind::None) {
      json_ += "null";
      continue;
    }
    const ExportRow::Value& v = row[i];
    if (v.kind == ExportRow::Value::Kind::Number) {
      const std::string n = std::to_string(v.number);
      csv_ += n;
      json_ += n;
    } else {
      appendCsvField(csv_, v.text);
      appendJsonString(json_, v.text);
    }
  }
  csv_ += "\r\n";
  json_.push_back('}');
  ++rows_;
  flushIfFull(false);
}

void ExportTable::flushIfFull(bool force) {
  if (!ok_) return;
  if (force || csv_.size() >= kFlushBytes) ok_ = write(*csvFile_, csv_) && ok_;
  if (force || json_.size() >= kFlushBytes) ok_ = write(*jsonFile_, json_) && ok_;
}

bool ExportTable::finish() {
  json_ += rows_ == 0 ? "]\n" : "\n]\n";
  flushIfFull(true);
  if (!ok_) {
    csvFile_->abandon();
    jsonFile_->abandon();
    return false;
  }
  const bool csvOk = csvFile_->commit();
  const bool jsonOk = jsonFile_->commit();
  ok_ = csvOk && jsonOk;
  return ok_;
}

}  // namespace tirelmo
