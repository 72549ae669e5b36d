#include "sheet_logic.h"

#include <algorithm>
#include <chrono>
#include <tuple>

namespace tirelmo::sync {

std::optional<std::string> cleanText(std::string_view in, size_t maxUnits) {
  std::string out;
  size_t units = 0;
  size_t k = 0;
  while (k < in.size()) {
    auto byte = static_cast<unsigned char>(in[k]);
    int length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xE ? 3 : (byte >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || k + length > in.size()) return std::nullopt;
    char32_t cp = length == 1 ? byte : byte & (0x7F >> length);
    for (int j = 1; j < length; ++j) {
      auto next = static_cast<unsigned char>(in[k + j]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (next & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    bool control = (cp < 0x20 && cp != '\t') || cp == 0x7F;
    if (!control) {
      size_t need = cp >= 0x10000 ? 2 : 1;
      if (units + need > maxUnits) break;
      units += need;
      out.append(in.substr(k, length));
    }
    k += length;
  }
  return out;
}

bool isValidAccount(std::string_view account) {
  if (account.empty() || account.size() > 17) return false;
  bool onlyDots = true;
  for (char c : account) {
    bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '.' || c == '_' || c == '@' || c == '-';
    if (!ok) return false;
    if (c != '.') onlyDots = false;
  }
  return !onlyDots;
}

namespace {

std::chrono::sys_days daysOf(const Date& d) {
  return std::chrono::year_month_day{std::chrono::year{d.year},
                                     std::chrono::month{static_cast<unsigned>(d.month)},
                                     std::chrono::day{static_cast<unsigned>(d.day)}};
}

void appendNumbers(std::string& out, const std::vector<int>& numbers) {
  for (size_t k = 0; k < numbers.size(); ++k) {
    if (k) out += ',';
    out += std::to_string(numbers[k]);
  }
  out += '\n';
}

void appendPairs(std::string& out, const std::vector<ListEntry>& entries) {
  for (const ListEntry& e : entries) {
    out += e.text;
    out += '\n';
    appendNumbers(out, e.numbers);
  }
}

std::string begin() { return std::string(kBeginMarker) + '\n'; }

}  // namespace

bool isValidMoment(const Moment& m) {
  if (m.year < 1970 || m.year > 9999 || m.month < 1 || m.month > 12 || m.day < 1) return false;
  std::chrono::year_month_day ymd{std::chrono::year{m.year},
                                  std::chrono::month{static_cast<unsigned>(m.month)},
                                  std::chrono::day{static_cast<unsigned>(m.day)}};
  return ymd.ok() && m.hour >= 0 && m.hour <= 23 && m.minute >= 0 && m.minute <= 59 &&
         m.second >= 0 && m.second <= 60 && m.msec >= 0 && m.msec <= 999;
}

int dayOfWeek(int year, int month, int day) {
  if (year == 0) return 0;
  return static_cast<int>(std::chrono::weekday{daysOf({year, month, day})}.c_encoding());
}

long daysFrom(const Date& from, const Date& to) {
  return static_cast<long>((daysOf(to) - daysOf(from)).count());
}

bool earlier(const Moment& a, const Moment& b) {
  auto key = [](const Moment& m) {
    return std::tuple(m.year, m.month, m.day, m.hour, m.minute, m.second, m.msec);
  };
  return key(a) < key(b);
}

std::string momentText(const Moment& m) {
  return std::to_string(m.year) + ',' + std::to_string(m.month) + ',' + std::to_string(m.day) +
         ',' + std::to_string(m.hour) + ',' + std::to_string(m.minute) + ',' +
         std::to_string(m.second) + ',' + std::to_string(m.msec);
}

RollLists rollSheet(Sheet& sheet, const Moment& now) {
  RollLists lists;
  const Date old = dateOf(sheet.stamp);
  const int oldDow = dayOfWeek(old.year, old.month, old.day);
  const int days = static_cast<int>(std::clamp(daysFrom(old, dateOf(now)), 1L, long{kMaxCount}));
  auto byte = [](int value) { return std::min(value, kMaxCount); };
  for (SheetRow& r : sheet.rows) {
    if (r.text.empty()) continue;
    const int total = std::min(r.pastMinutes + r.minutesToday, kMaxPastMinutes);
    if (r.done || r.pomodoros || r.abandoned || r.minutesToday > 0) {
      // The worked list carries the day's own counts; the clients' archive adds 1 to the age.
      lists.worked.push_back(
          {r.text,
           {r.done, r.pomodoros, r.abandoned, r.internal, r.external, r.pastPomodoros,
            r.pastAbandoned, r.pastInternal, r.pastExternal, r.age, r.category, r.project,
            r.minutesToday / 60, r.minutesToday % 60, total / 60, total % 60, r.estimated,
            r.repeat}});
    }
    r.pastPomodoros = byte(r.pastPomodoros + r.pomodoros);
    r.pastAbandoned = byte(r.pastAbandoned + r.abandoned);
    r.pastInternal = byte(r.pastInternal + r.internal);
    r.pastExternal = byte(r.pastExternal + r.external);
    r.pastMinutes = total;
    r.pomodoros = r.abandoned = r.internal = r.external = r.minutesToday = 0;
    if (r.done) {
      // The done list is appended to the clients' archive as it stands: counts of all days
      // and the age already counting the day itself, as the local carry-over writes them.
      lists.done.push_back({r.text,
                            {1, r.estimated, 0, r.pastInternal, r.pastExternal, r.pastPomodoros,
                             r.pastAbandoned, 0, 0, byte(r.age + 1), r.category, r.project, 0, 0,
                             total / 60, total % 60, 0, 0, old.year, old.month, old.day, oldDow}});
      if (r.repeat) {
        r = SheetRow{.text = r.text, .category = r.category, .project = r.project, .repeat = 1};
      } else {
        r = SheetRow{};
      }
    } else {
      r.age = byte(r.age + days);
    }
  }
  sheet.previous = old;
  sheet.stamp = now;
  return lists;
}

std::string sheetReply(const Sheet& sheet) {
  std::string out = begin();
  const Moment& m = sheet.stamp;
  const Date& p = sheet.previous;
  const int line1[] = {m.year,   m.month,  m.day,
                       dayOfWeek(m.year, m.month, m.day),
                       m.hour,   m.minute, m.second,
                       m.msec,   p.year,   p.month,
                       p.day,    dayOfWeek(p.year, p.month, p.day)};
  for (int v : line1) out += std::to_string(v) + ',';
  out += '\n';
  if (sheet.exists()) {
    for (const SheetRow& r : sheet.rows) {
      out += r.text;
      out += '\n';
      appendNumbers(out, {r.done, r.pomodoros, r.abandoned, r.internal, r.external,
                          r.pastPomodoros, r.pastAbandoned, r.pastInternal, r.pastExternal, r.age,
                          r.category, r.project, r.minutesToday / 60, r.minutesToday % 60,
                          r.pastMinutes / 60, r.pastMinutes % 60, r.estimated, r.repeat});
    }
  }
  out += kEndMarker;
  return out;
}

std::string doneListReply(const std::vector<ListEntry>& done) {
  std::string out = begin();
  appendPairs(out, done);
  out += kEndMarker;
  return out;
}

std::string workedListReply(const std::vector<ListEntry>& worked) {
  std::string out;
  appendPairs(out, worked);
  return out;
}

std::string projectsReply(const std::vector<ProjectEntry>& projects) {
  std::string out = begin();
  for (const ProjectEntry& p : projects) {
    out += std::to_string(p.pid) + ',' + std::to_string(p.status) + ',' + std::to_string(p.hours) +
           ',' + std::to_string(p.minutes) + ',' + std::to_string(p.position) + ',' + p.name + '\n';
  }
  out += kEndMarker;
  return out;
}

std::string categoriesReply(const std::vector<CategoryEntry>& categories) {
  std::string out = begin();
  for (const CategoryEntry& c : categories) out += std::to_string(c.number) + ',' + c.name + '\n';
  out += kEndMarker;
  return out;
}

}  // namespace tirelmo::sync
