// Random bytes as a ToDo sheet of every format the program reads (.pm6 row records, .pm5,
// .pm4, .pm3, the score-character formats .pm2/.pm1/.pom), as a project list and as the
// Todolists' registry and list files: whatever the file holds, the model that comes back
// keeps its shape.
#include <cstdint>
#include <string_view>

#include "fuzz_input_file.h"
#include "projects/project_store.h"
#include "app/sheet_io.h"
#include "sheet/legacy_formats.h"
#include "sheet/sheet_files.h"
#include "stats/done_archive.h"
#include "todolists/todolist_registry.h"

using namespace tirelmo;
using fuzz::require;

namespace {

// Every reader hands over rows within their ranges, so nothing downstream sums or indexes
// with what a file made up.
void checkRow(const TodoRow& row) {
  require(row.text.size() <= kRowTextMax, "row text over 179 units");
  require(row.info.minutesToday >= 0 && row.info.minutesToday <= kMaxMinutesToday, "minutes today out of range");
  require(row.info.pastMinutes >= 0 && row.info.pastMinutes <= kMaxPastMinutes, "past minutes out of range");
  require(row.done <= 1 && row.info.category <= kLastRowCategory, "done or category out of range");
}

void checkSheet(const TodoSheet& sheet, int rows) {
  require(sheet.rowCount() == rows, "row count changed");
  require(sheet.separatorIndex >= -1 && sheet.separatorIndex < rows, "separator index out of range");
  for (const TodoRow& row : sheet.rows) checkRow(row);
  for (const DayStats* d : {&sheet.dayTotals, &sheet.dayTotalsSaved})
    require(d->used <= 1 && d->workedMinutes < 60, "day record out of range");
}

void checkProjects(const std::vector<Project>& list) {
  for (const Project& p : list) {
    require(p.name.size() < 4096, "project name unbounded");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t which = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  TodoSheet sheet;
  resetTodoSheet(sheet);
  switch (which % 8) {
    case 0: {
      const int rows = (which & 0x80) ? kTodolistRows : kSheetRows;
      TodoSheet list(rows);
      readRowRecords(bytes, rows, [&](int index, TodoRow& row) {
        require(index >= 0 && index < rows, "row index handed over out of range");
        checkRow(row);
        list.rows[static_cast<std::size_t>(index)] = row;
      });
      return 0;
    }
    case 1: parsePm5(bytes, sheet, (which & 0x80) != 0); break;
    case 2: parsePm4(bytes, sheet); break;
    case 3: parsePm3(bytes, sheet); break;
    case 4: parseScoreCharFormat(bytes, sheet, 25, 0); break;
    case 5: parseScoreCharFormat(bytes, sheet, (which & 0x80) ? 15 : 10, (which & 0x80) ? 8 : 5); break;
    case 6: {
      static fuzz::InputFile file;
      const u16& path = file.write(data + 1, size - 1);
      if ((which >> 4) % 6 == 4) {
        TodolistRegistry reg;
        LoadTdlInfo_p01(path, reg);
        require(reg.count() <= kMaxTodolists, "more than 64 Todolists");
        for (const TodolistEntry& e : reg.entries)
          require(!e.title.empty() && e.title.size() <= kTodolistTitleMax && !e.path.empty(), "registry entry out of shape");
        return 0;
      }
      if ((which >> 4) % 6 == 5) {
        TodoSheet list(kTodolistRows);
        TodolistEntry entry;
        loadTodolistFile(path, list, DayDate{2021, 3, 5, 5}, entry);
        checkSheet(list, kTodolistRows);
        require(entry.freeRows + entry.doneRows <= kTodolistRows, "list counts beyond its rows");
        return 0;
      }
      ProjectStore store;
      switch ((which >> 4) % 4) {
        case 0: LoadActiveProjects_p01(store, path); break;
        case 1: LoadClosedProjects_p01(store, path); break;
        case 2: LoadActiveProjects_p00(store, path); break;
        default: LoadActiveProjects_csv(store, path); break;
      }
      checkProjects(store.active);
      checkProjects(store.closed);
      return 0;
    }
    default: {
      u16 line;
      for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        line.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                             (static_cast<std::uint8_t>(bytes[i + 1]) << 8)));
      DoneTaskEntry entry;
      parseDoneTaskLine(line, entry);
      return 0;
    }
  }
  adoptSeparatorRow(sheet);
  checkSheet(sheet, kSheetRows);
  return 0;
}
