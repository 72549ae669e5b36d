#include "web/cloud_client.h"

#include "web/url_query.h"
#include "web/web_client.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <vector>

#include "app/app.h"
#include "base/log.h"
#include "projects/project_ops.h"
#include "projects/project_store.h"
#include "stats/done_archive.h"
#include "stats/yesterday_archive.h"
#include "storage/settings.h"
#include "text/scan.h"

namespace tirelmo {

namespace {

constexpr char kSheetEndpoint[] = "/xt/tdl.php";
constexpr char kDoneEndpoint[] = "/xt/donelist.php";
constexpr char kProjectsEndpoint[] = "/xt/prj.php";
constexpr char kCategoriesEndpoint[] = "/xt/cats.php";
constexpr char kBegin[] = "___210___BEGIN___210___";
constexpr char kEnd[] = "___210___END___210___";
constexpr char kDevice[] = "pc";

constexpr std::size_t kSheetReplyCap = 16384;
// A day's done or worked list holds up to 25 rows of 179 characters: the 4500 bytes the
// lists once had would cut a day of long (or Chinese) texts and lose the rest of them.
constexpr std::size_t kListReplyCap = 32768;
constexpr std::size_t kUploadReplyCap = 512;
constexpr std::size_t kSmallReplyCap = 128;
// The longest address WinINet and most servers take (INTERNET_MAX_URL_LENGTH). A row of 179
// units encodes to at most 1611 characters, so every row the sheet can hold fits below
// it with a service address of up to about 250 characters; a longer upload is refused
// whole rather than sent with its text cut.
constexpr std::size_t kMaxUrlBytes = 2083;

// ---- Requests ----------------------------------------------------------------------------

// One GET with the rules of every request (WebOpen): 0, or -1 / -2 / -3; a status other than
// 2xx is -2, never data. An address longer than WinINet takes is refused before sending.
int cloudGet(Http& http, const WebConfig& config, const std::string& url, std::size_t cap, std::string* reply,
             bool* overflow = nullptr) {
  if (url.size() > kMaxUrlBytes) {
    logLine(u"Address of %d bytes is over %d, not sent", static_cast<long long>(url.size()),
            static_cast<long long>(kMaxUrlBytes));
    return kWebUrlFailed;
  }
  // An upload's reply is not read: a longer one than its small buffer is no failure.
  bool ignored = false;
  return WebOpen(http, config, url, cap, reply, reply ? overflow : &ignored);
}

// ---- Replies -----------------------------------------------------------------------------

// The next line of rest, without its LF (and a CR before it); false when no LF ends it.
bool nextLine(std::string_view& rest, std::string_view& line) {
  const std::size_t lf = rest.find('\n');
  if (lf == std::string_view::npos) return false;
  line = rest.substr(0, lf);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  rest.remove_prefix(lf + 1);
  return true;
}

// Comma-separated integers, exactly n of them; false on anything that is not one. With
// terminated every number is followed by a comma (the time stamp line).
bool parseInts(std::string_view line, std::size_t n, std::vector<long long>& out, bool terminated = false) {
  out.clear();
  if (terminated) {
    if (line.empty() || line.back() != ',') return false;
    line.remove_suffix(1);
  }
  for (;;) {
    const std::size_t comma = line.find(',');
    std::string_view piece = line.substr(0, comma);
    while (!piece.empty() && piece.front() == ' ') piece.remove_prefix(1);
    long long v = 0;
    const char* end = piece.data() + piece.size();
    const auto [ptr, ec] = std::from_chars(piece.data(), end, v);
    if (piece.empty() || ec != std::errc() || ptr != end || v < INT32_MIN || v > INT32_MAX) return false;
    out.push_back(v);
    if (comma == std::string_view::npos) break;
    line.remove_prefix(comma + 1);
  }
  return out.size() == n;
}

// The data between the markers. 0, -4 or -5 (logged). An END that the read data does not
// hold because the reply was longer than the cap is told as such.
int betweenMarkers(std::string_view reply, bool overflow, std::string_view& data) {
  const std::size_t begin = reply.find(kBegin);
  if (begin == std::string_view::npos) {
    logLine(u"Err missing tdl begin!");
    return -4;
  }
  const std::size_t from = begin + sizeof(kBegin) - 1;
  const std::size_t end = reply.find(kEnd, from);
  if (end == std::string_view::npos) {
    logLine(overflow ? u"Err tdl end exceeded boundaries." : u"Err missing tdl end!");
    return -5;
  }
  data = reply.substr(from, end - from);
  return 0;
}

int lineError() {
  logLine(u"%s() Err: no \\n in dwl data", u"WebLoadTodoList");
  return -6;
}

bool inByte(long long v) { return v >= 0 && v <= 255; }

// A task text of a reply: at most 179 units, no line break.
bool taskText(std::string_view utf8, u16& text) {
  text = utf8ToUtf16(utf8);
  return text.size() <= kRowTextMax && text.find_first_of(u"\r\n") == u16::npos;
}

// One row of the sheet reply into row; false when a value is out of its range.
bool takeRow(std::string_view textLine, const std::vector<long long>& v, TodoRow& row) {
  u16 text;
  if (!taskText(textLine, text)) return false;
  for (int i : {0, 17})
    if (v[i] != 0 && v[i] != 1) return false;
  for (int i = 1; i <= 9; ++i)
    if (!inByte(v[i])) return false;
  if (v[10] < 0 || v[10] > kLastRowCategory || !inByte(v[16])) return false;
  for (int i = 12; i <= 15; ++i)
    if (v[i] < 0) return false;
  const long long today = v[12] * 60 + v[13];
  const long long past = v[14] * 60 + v[15];
  if (today > kMaxMinutesToday || past > kMaxPastMinutes) return false;
  if (text.empty()) {
    row.clear();
    return true;
  }
  row.text = std::move(text);
  row.done = static_cast<std::uint8_t>(v[0]);
  row.pomodoros = static_cast<std::uint8_t>(v[1]);
  row.abandoned = static_cast<std::uint8_t>(v[2]);
  row.internalInterruptions = static_cast<std::uint8_t>(v[3]);
  row.externalInterruptions = static_cast<std::uint8_t>(v[4]);
  row.pastPomodoros = static_cast<std::uint8_t>(v[5]);
  row.pastAbandoned = static_cast<std::uint8_t>(v[6]);
  row.pastInternal = static_cast<std::uint8_t>(v[7]);
  row.pastExternal = static_cast<std::uint8_t>(v[8]);
  row.info.ageDays = static_cast<std::uint8_t>(v[9]);
  row.info.category = static_cast<std::uint8_t>(v[10]);
  row.info.projectId = static_cast<std::int32_t>(v[11]);
  row.info.minutesToday = static_cast<std::int32_t>(today);
  row.info.pastMinutes = static_cast<std::int32_t>(past);
  row.estimated = static_cast<std::uint8_t>(v[16]);
  if (v[17])
    row.info.flags |= rowflag::kRepeat;
  else
    row.info.flags &= static_cast<std::uint8_t>(~rowflag::kRepeat);
  return true;
}

// ---- Previous day's lists --------------------------------------------------------------

struct ListPair {
  u16 text;
  std::vector<long long> v;
};

// Pairs of lines (text, n integers); a pair that is cut or out of its ranges is logged and
// left out, the others stand.
std::vector<ListPair> parsePairs(std::string_view data, std::size_t n, u16v who) {
  std::vector<ListPair> out;
  std::string_view text, numbers;
  for (int i = 0; !data.empty(); ++i) {
    if (!nextLine(data, text) || !nextLine(data, numbers)) {
      logLine(u"%s() Err: no \\n in dwl data", who);
      break;
    }
    ListPair p;
    if (!taskText(text, p.text) || p.text.empty() || !parseInts(numbers, n, p.v)) {
      logLine(u"%s() rec %d invalid, skipped", who, i);
      continue;
    }
    out.push_back(std::move(p));
  }
  return out;
}

int clampInt(long long v, int lo, int hi) { return static_cast<int>(std::clamp<long long>(v, lo, hi)); }

// The done list: each record into the archive of its own month.
void downloadDoneTasks(Http& http, const WebConfig& config, App& app, const DayDate& prev) {
  const std::string url = config.serviceBase + kDoneEndpoint + "?id=" + percentEncode(app.settings.cloudLogin) +
                          "&usr=" + kDevice;
  logLine(u"Dwl %s", utf8ToUtf16(url));
  std::string reply;
  bool overflow = false;
  const int err = cloudGet(http, config, url, kListReplyCap, &reply, &overflow);
  if (err != 0) {
    logLine(u"Error %d from WebOpen", err);
    logLine(u"Web Error %d with WebDownloadDoneTsks()", err);
    return;
  }
  logLine(u"Dwld %d", static_cast<long long>(reply.size()));
  std::string_view data;
  if (betweenMarkers(reply, overflow, data) != 0) return;
  std::string_view ignored;
  if (!nextLine(data, ignored)) return;  // the rest of the BEGIN line
  int openYear = 0, openMonth = 0;
  for (const ListPair& p : parsePairs(data, 22, u"WebDownloadDoneTsks")) {
    CloudDoneRecord r;
    r.text = p.text;
    r.internalInterruptions = clampInt(p.v[3], 0, 255);
    r.externalInterruptions = clampInt(p.v[4], 0, 255);
    r.pomodoros = clampInt(p.v[5], 0, 255);
    r.abandoned = clampInt(p.v[6], 0, 255);
    r.age = clampInt(p.v[9], 0, 255);
    r.category = clampInt(p.v[10], 0, kLastRowCategory);
    // Whole: cut to 8 bits an id above 255 would name another project.
    r.projectId = static_cast<std::int32_t>(p.v[11]);
    r.totalHours = clampInt(p.v[14], 0, kMaxPastMinutes / 60);
    r.totalMinutes = clampInt(p.v[15], 0, 59);
    const bool dated = isCalendarDate(static_cast<int>(p.v[18]), static_cast<int>(p.v[19]), static_cast<int>(p.v[20]));
    // An undated record was completed on the previous day.
    r.year = dated ? static_cast<int>(p.v[18]) : prev.year;
    r.month = dated ? static_cast<int>(p.v[19]) : prev.month;
    r.day = dated ? static_cast<int>(p.v[20]) : prev.day();
    r.dayOfWeek = dayOfWeekOf(r.year, r.month, r.day);
    if (r.year != openYear || r.month != openMonth) {
      if (openYear != 0) closeDoneArchive(app);
      openDoneArchive(app, r.year, r.month, r.day, r.dayOfWeek);
      openYear = r.year;
      openMonth = r.month;
    }
    appendDoneCloudRecord(app, r);
  }
  if (openYear != 0) closeDoneArchive(app);
}

// The worked list: the yesterday archive made anew from it. A list that cannot be read
// leaves the archive of the last day start as it is.
void downloadWorkedTasks(Http& http, const WebConfig& config, App& app, const DayDate& prev) {
  const std::string url = config.serviceBase + "/xt/" + percentEncode(app.settings.cloudLogin) + "/worked_tasks.txt";
  logLine(u"Dwl %s", utf8ToUtf16(url));
  std::string reply;
  // A list longer than the buffer is a failed read (WebOpen), never a cut list.
  const int err = cloudGet(http, config, url, kListReplyCap, &reply);
  if (err != 0) {
    logLine(u"Web Error %d with WebDownloadWorkedTsks()", err);
    return;
  }
  logLine(u"Dwld %d", static_cast<long long>(reply.size()));
  const std::vector<ListPair> pairs = parsePairs(reply, 18, u"WebDownloadWorkedTsks");
  if (createYesterdayArchive(app, prev.year, prev.month, prev.day(), prev.dayOfWeek) != 0) return;
  for (const ListPair& p : pairs) {
    YesterdayTask t;  // undated: the archive's date
    t.text = p.text;
    t.done = p.v[0] != 0 ? 1 : 0;
    t.pomodoros = clampInt(p.v[1], 0, 255);
    t.abandoned = clampInt(p.v[2], 0, 255);
    t.internalInterruptions = clampInt(p.v[3], 0, 255);
    t.externalInterruptions = clampInt(p.v[4], 0, 255);
    t.age = clampInt(p.v[9], 0, 255) + 1;  // a day older, as the local carry-over writes it
    t.category = clampInt(p.v[10], 0, kLastRowCategory);
    t.projectId = static_cast<std::int32_t>(p.v[11]);
    t.minutesWorked = clampInt(std::max(0LL, p.v[12]) * 60 + std::max(0LL, p.v[13]), 0, kMaxMinutesToday);
    t.totalMinutes = clampInt(std::max(0LL, p.v[14]) * 60 + std::max(0LL, p.v[15]), 0, kMaxPastMinutes);
    t.estimated = clampInt(p.v[16], 0, 255);
    writeYesterdayRecord(app, t);
  }
  closeYesterdayArchive(app);
}

// ---- Projects and categories from the cloud ---------------------------------------------

Project* findProject(std::vector<Project>& list, std::int32_t id) {
  for (Project& p : list)
    if (p.id == id) return &p;
  return nullptr;
}

// The cloud's names of the projects: a rename made on another computer arrives here.
void mergeProjects(App& app, std::string_view data) {
  ProjectStore& store = app.projects;
  // The projects of an unreadable file are not in memory: a save now would replace them.
  if (store.activeFileUnreadable) {
    logLine(u"Cloud prjs not taken, the local prj file could not be read");
    return;
  }
  bool activeChanged = false, closedChanged = false;
  std::string_view line;
  while (nextLine(data, line)) {
    // "pid,act,wkh,wkm,n,<name>": the name is last and may hold commas itself.
    std::size_t pos = 0;
    for (int i = 0; i < 5 && pos != std::string_view::npos; ++i) {
      pos = line.find(',', pos);
      if (pos != std::string_view::npos) ++pos;
    }
    std::vector<long long> fields;
    if (pos == std::string_view::npos || !parseInts(line.substr(0, pos - 1), 5, fields) || fields[0] <= 0 ||
        fields[1] < 0 || fields[1] > kProjectClosed) {
      logLine(u"Cloud prj line invalid, skipped");
      continue;
    }
    const std::string_view rest = line.substr(pos);
    const auto id = static_cast<std::int32_t>(fields[0]);
    const u16 name = oneLineName(utf8ToUtf16(rest), kProjectNameMaxUnits);
    if (name.empty()) continue;
    Project* p = findProject(store.active, id);
    bool* changed = &activeChanged;
    if (!p) {
      p = findProject(store.closed, id);
      changed = &closedChanged;
    }
    if (p) {
      if (p->name == name) continue;
      p->name = name;
      *changed = true;
      logLine(u"Prj %d renamed from cloud: %s", id, name);
      continue;
    }
    // The worked time stays 0 here: it is the other computer's, and it reaches this one
    // through the rows linked to the project; taken over as well it would count twice.
    Project added;
    added.id = id;
    added.name = name;
    added.status = static_cast<std::uint32_t>(fields[1]);
    const bool closed = added.status == kProjectClosed;
    (closed ? store.closed : store.active).push_back(added);
    (closed ? closedChanged : activeChanged) = true;
    logLine(u"Prj %d added from cloud: %s", id, name);
  }
  if (activeChanged) SaveActiveProjects(app);
  if (closedChanged) SaveClosedProjects(app);
  if (activeChanged || closedChanged) App::call(app.hooks.pageContentChanged, kPageProjects);
}

void mergeCategories(App& app, std::string_view data) {
  std::vector<u16>& names = app.settings.categories;
  for (std::size_t c = names.size(); c < kCategoryCount; ++c) names.emplace_back(kDefaultCategoryNames[c]);
  bool changed = false;
  std::string_view line;
  while (nextLine(data, line)) {
    const std::size_t comma = line.find(',');
    std::vector<long long> n;
    if (comma == std::string_view::npos || !parseInts(line.substr(0, comma), 1, n) || n[0] < 1 ||
        n[0] > kLastRowCategory) {
      logLine(u"Cloud cat line invalid, skipped");
      continue;
    }
    const u16 name = oneLineName(utf8ToUtf16(line.substr(comma + 1)), kCategoryNameCapacity - 1);
    u16& mine = names[static_cast<std::size_t>(n[0])];
    if (name.empty() || name == mine) continue;
    mine = name;
    changed = true;
    logLine(u"Cat %d renamed from cloud: %s", static_cast<int>(n[0]), name);
  }
  if (!changed) return;
  SaveSettingsToFile(app.settings, app.prompts);
  App::call(app.hooks.pageContentChanged, kPagePreviousDay);
}

void downloadNames(Http& http, const WebConfig& config, App& app) {
  const std::string id = percentEncode(app.settings.cloudLogin);
  for (const char* endpoint : {kProjectsEndpoint, kCategoriesEndpoint}) {
    const std::string url = config.serviceBase + endpoint + "?id=" + id;
    logLine(u"Dwl %s", utf8ToUtf16(url));
    std::string reply;
    bool overflow = false;
    const int err = cloudGet(http, config, url, kSheetReplyCap, &reply, &overflow);
    std::string_view data, ignored;
    if (err != 0) {
      logLine(u"Error %d from WebOpen", err);
      continue;
    }
    if (betweenMarkers(reply, overflow, data) != 0 || !nextLine(data, ignored)) continue;
    if (endpoint == kProjectsEndpoint)
      mergeProjects(app, data);
    else
      mergeCategories(app, data);
  }
}

void addTimeFields(std::string& url, const LocalTime& t) {
  appendField(url, "yy", t.year);
  appendField(url, "mm", t.month);
  appendField(url, "dd", t.day);
  appendField(url, "hr", t.hour);
  appendField(url, "min", t.minute);
  appendField(url, "sec", t.second);
  appendField(url, "msec", t.milliseconds);
}

// "<service>/xt/tdl.php?<first>&id=..&usr=pc".
std::string sheetUrl(const WebConfig& config, const App& app, const char* first) {
  return config.serviceBase + kSheetEndpoint + "?" + first + "id=" + percentEncode(app.settings.cloudLogin) + "&usr=" + kDevice;
}

bool haveAccount(const App& app) {
  if (!app.settings.cloudLogin.empty()) return true;
  logLine(u"Cloud Login is empty, nothing sent");
  return false;
}

int parseSheetReply(std::string_view reply, bool overflow, TodoSheet& sheet, CloudTimestamp& stamp);

}  // namespace

int parseCloudSheet(std::string_view reply, TodoSheet& sheet, CloudTimestamp& stamp) {
  return parseSheetReply(reply, false, sheet, stamp);
}

namespace {

int parseSheetReply(std::string_view reply, bool overflow, TodoSheet& sheet, CloudTimestamp& stamp) {
  std::string_view data;
  if (const int err = betweenMarkers(reply, overflow, data); err != 0) return err;
  std::string_view line;
  if (!nextLine(data, line) || !nextLine(data, line)) return lineError();
  std::vector<long long> v;
  logLine(u"Scan %d items", 12);
  if (!parseInts(line, 12, v, true)) {
    logLine(u"%s() Err: no \\n found", u"scanInt");
    return -6;
  }
  logLine(u"Cloud ts: %d,%d,%d,%d,", v[0], v[1], v[2], v[3]);
  logLine(u"%d,%d,%d,%d,", v[4], v[5], v[6], v[7]);
  logLine(u"%d,%d,%d,%d", v[8], v[9], v[10], v[11]);
  CloudTimestamp s;
  int* const fields[] = {&s.year, &s.month, &s.day, &s.dayOfWeek, &s.hour, &s.minute,
                         &s.second, &s.msec, &s.prevYear, &s.prevMonth, &s.prevDay, &s.prevDayOfWeek};
  for (std::size_t i = 0; i < 12; ++i) *fields[i] = static_cast<int>(v[i]);

  // Into a copy: a reply that turns out cut or wrong halfway leaves the sheet as it was.
  std::vector<TodoRow> rows = sheet.rows;
  std::string_view text, numbers;
  for (int row = 0; !data.empty(); ++row) {
    if (!nextLine(data, text) || !nextLine(data, numbers)) return lineError();
    if (row >= sheet.rowCount() || !parseInts(numbers, 18, v) ||
        !takeRow(text, v, rows[static_cast<std::size_t>(row)])) {
      logLine(u"%s() Err: row %d invalid", u"WebLoadTodoList", row);
      return -6;
    }
  }
  sheet.rows = std::move(rows);
  stamp = s;
  return 0;
}

}  // namespace

bool WebCloudSync::available() const { return isAllowedServiceUrl(config_.serviceBase); }

int WebCloudSync::WebDownloadTodoList(App& app) {
  if (!haveAccount(app)) return kWebUrlFailed;
  std::string url = sheetUrl(config_, app, "") + "&raw=1";
  addTimeFields(url, app.start.startTime);
  logLine(u"Dwl %s", utf8ToUtf16(url));
  std::string reply;
  bool overflow = false;
  const int err = cloudGet(http_, config_, url, kSheetReplyCap, &reply, &overflow);
  if (err != 0) return err;
  const int result = parseSheetReply(reply, overflow, app.sheet, stamp_);
  logLine(u"Dwl done. Written %d", static_cast<long long>(reply.size()));
  if (result == 0) downloadNames(http_, config_, app);
  return result;
}

bool WebCloudSync::CloudTdlIsMoreRecent(App& app) {
  const u16& saved = app.settings.tdlSavedOn;
  // An account that never had a sheet answers with a stamp of zeros. Taken as newer, its
  // empty rows would stand for today instead of the tasks the day start carries over.
  if (!isCalendarDate(stamp_.year, stamp_.month, stamp_.day)) {
    logLine(u"The cloud has no sheet yet: local tdl stays.");
    return false;
  }
  if (saved.empty()) {
    logLine(u"Workaround: szTdlSavedOn is empty");
    return true;
  }
  const CloudTimestamp& c = stamp_;
  logPiece(u"Cloud Tdl ts %d-%d-%d (dow %d)", c.year, c.month, c.day, c.dayOfWeek);
  logLine(u"%d:%d:%d", c.hour, c.minute, c.second);
  int l[7] = {};
  if (scanInts(saved, u"%d,%d,%d,%d,%d,%d,%d", l, 7) < 7 || !isCalendarDate(l[0], l[1], l[2])) {
    // Nothing to compare with: the cloud copy stands, and the local sheet is kept aside.
    logLine(u"Local Tdl ts unreadable: %s", saved);
    return true;
  }
  logPiece(u"Local Tdl ts %d-%d-%d (dow %d)", l[0], l[1], l[2], dayOfWeekOf(l[0], l[1], l[2]));
  logLine(u"%d:%d:%d", l[3], l[4], l[5]);
  const int cloud[7] = {c.year, c.month, c.day, c.hour, c.minute, c.second, c.msec};
  const auto order = std::lexicographical_compare_three_way(l, l + 7, cloud, cloud + 7);
  const int comparison = order < 0 ? -1 : (order == 0 ? 0 : 1);
  logLine(u"Comparison gave %ul", static_cast<std::uint32_t>(comparison));
  if (comparison < 0) {
    logLine(u"CloudTdlIsMoreRecent() - Cloud tdl is newer.");
    return true;
  }
  logLine(u"CloudTdlIsMoreRecent() - Local tdl is newer.");
  return false;
}

void WebCloudSync::downloadDoneAndWorkedLists(App& app) {
  logLine(u"Dwl done + wkd tsks.");
  const CloudTimestamp& s = stamp_;
  const DayDate& today = app.start.today;
  DayDate prev;
  if (s.year == today.year && s.month == today.month && s.day == today.day()) {
    logPiece(u"Prev day is web prev day:");
    prev = DayDate{s.prevYear, s.prevMonth, s.prevDayOfWeek, s.prevDay - 1};
  } else {
    logPiece(u"Prev day is web last upd day:");
    prev = DayDate{s.year, s.month, s.dayOfWeek, s.day - 1};
  }
  logLine(u"%d-%d-%d (%d)", prev.year, prev.month, prev.day(), prev.dayOfWeek);
  if (!isCalendarDate(prev.year, prev.month, prev.day())) {
    logLine(u"No previous day in the cloud time stamp, lists not taken");
    return;
  }
  prev.dayOfWeek = dayOfWeekOf(prev.year, prev.month, prev.day());
  app.start.previousSheetDate = prev;
  downloadDoneTasks(http_, config_, app, prev);
  downloadWorkedTasks(http_, config_, app, prev);
}

int WebCloudSync::uploadRow(App& app, int index) {
  if (!app.sheet.validRow(index)) return kWebUrlFailed;
  if (!haveAccount(app)) return kWebUrlFailed;
  const TodoRow& r = app.sheet.rows[static_cast<std::size_t>(index)];
  std::string url = config_.serviceBase + kSheetEndpoint + "?upd=1";
  appendField(url, "n", index + 1);
  url += "&id=" + percentEncode(app.settings.cloudLogin) + "&usr=" + kDevice;
  addTimeFields(url, app.clock.now());
  url += "&t=" + percentEncode(r.text);
  appendField(url, "d", r.done);
  appendField(url, "p", r.pomodoros);
  appendField(url, "a", r.abandoned);
  appendField(url, "i", r.internalInterruptions);
  appendField(url, "e", r.externalInterruptions);
  appendField(url, "pt", r.pastPomodoros);
  appendField(url, "at", r.pastAbandoned);
  appendField(url, "it", r.pastInternal);
  appendField(url, "et", r.pastExternal);
  appendField(url, "age", r.info.ageDays);
  appendField(url, "cat", r.info.category);
  appendField(url, "prj", r.info.projectId);
  appendField(url, "wkh", r.info.minutesToday / 60);
  appendField(url, "wkm", r.info.minutesToday % 60);
  appendField(url, "wkhp", r.info.pastMinutes / 60);
  appendField(url, "wkmp", r.info.pastMinutes % 60);
  appendField(url, "est", r.estimated);
  appendField(url, "rep", r.hasFlag(rowflag::kRepeat) ? 1 : 0);
  const int err = cloudGet(http_, config_, url, kUploadReplyCap, nullptr);
  if (err != 0) logLine(u"Upl row %d failed, err: %d", index + 1, err);
  return err;
}

int WebCloudSync::uploadCategory(App& app, int number, u16v name) {
  if (!haveAccount(app)) return kWebUrlFailed;
  std::string url = config_.serviceBase + kCategoriesEndpoint + "?upd=1&id=" + percentEncode(app.settings.cloudLogin);
  appendField(url, "n", number);
  url += "&t=" + percentEncode(name);
  appendField(url, "cid", number);
  const int err = cloudGet(http_, config_, url, kSmallReplyCap, nullptr);
  if (err < 0) logLine(u"Error %d from WebOpen", err);
  return err;
}

int WebCloudSync::uploadProject(App& app, const Project& project) {
  if (!haveAccount(app)) return kWebUrlFailed;
  const auto& active = app.projects.active;
  const auto it = std::find_if(active.begin(), active.end(), [&](const Project& p) { return p.id == project.id; });
  // A project no longer active (just closed) keeps a position after the active ones.
  const long long position = it - active.begin();
  std::string url = config_.serviceBase + kProjectsEndpoint + "?upd=1&id=" + percentEncode(app.settings.cloudLogin);
  appendField(url, "n", position);
  url += "&t=" + percentEncode(oneLineName(project.name, kProjectNameMaxUnits));
  appendField(url, "pid", project.id);
  appendField(url, "act", project.status);
  appendField(url, "wkh", project.workedHours);
  appendField(url, "wkm", project.workedMinutes);
  const int err = cloudGet(http_, config_, url, kSmallReplyCap, nullptr);
  if (err < 0) logLine(u"Error %d from WebOpen", err);
  return err;
}

void WebCloudSync::uploadAtExit(App& app) {
  const std::vector<u16>& names = app.settings.categories;
  for (int c = 0; c < static_cast<int>(kCategoryCount); ++c) {
    const u16v name = c < static_cast<int>(names.size()) ? u16v(names[static_cast<std::size_t>(c)])
                                                          : u16v(kDefaultCategoryNames[static_cast<std::size_t>(c)]);
    if (const int err = uploadCategory(app, c, name); err != 0) logLine(u"Upl cat %d failed, err: %d", c, err);
  }
  for (const Project& p : app.projects.active)
    if (const int err = uploadProject(app, p); err != 0) logLine(u"Upl prj %d failed, err: %d", p.id, err);
  if (!haveAccount(app)) return;
  std::string url = sheetUrl(config_, app, "rls=1&");
  addTimeFields(url, app.start.startTime);
  if (const int err = cloudGet(http_, config_, url, kSmallReplyCap, nullptr); err < 0)
    logLine(u"Error %d from WebOpen", err);
}

void installCloudSync(App& app, WebCloudSync& sync) {
  app.cloud = &sync;
  app.projects.uploadToCloud = [&sync](App& a, const Project& p) { sync.uploadProject(a, p); };
}

}  // namespace tirelmo
