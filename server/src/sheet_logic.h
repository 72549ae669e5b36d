// The service's rules on the data, apart from HTTP and storage: the texts it accepts, the
// day roll, and the reply texts the clients parse.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sync_store.h"

namespace tirelmo::sync {

inline constexpr std::string_view kBeginMarker = "___210___BEGIN___210___";
inline constexpr std::string_view kEndMarker = "___210___END___210___";
inline constexpr size_t kRowTextUnits = 179;   // the clients' row text holds 179 UTF-16 units
inline constexpr size_t kNameUnits = 127;      // project and category names
inline constexpr int kMaxCount = 255;          // scores are bytes on the clients
inline constexpr int kMaxMinutesToday = 24 * 60;
inline constexpr int kMaxPastMinutes = 1000000;

// A text as it may be stored: valid UTF-8 (nullopt otherwise), control characters other
// than TAB removed (so CR and LF can never split a reply line), cut to `maxUnits` UTF-16
// units on a character boundary.
std::optional<std::string> cleanText(std::string_view utf8, size_t maxUnits);

// Account names become part of a path (/xt/<account>/...): 1..17 characters of
// [A-Za-z0-9._@-], not only dots.
bool isValidAccount(std::string_view account);

bool isValidMoment(const Moment& m);
int dayOfWeek(int year, int month, int day);  // 0 Sunday
long daysFrom(const Date& from, const Date& to);  // to - from in days
inline Date dateOf(const Moment& m) { return {m.year, m.month, m.day}; }
bool earlier(const Moment& a, const Moment& b);  // a strictly before b
std::string momentText(const Moment& m);  // "y,m,d,h,mi,s,ms": the lock holder

// The day roll of a sheet to the day of `now` (a later day than the sheet's stamp). Fills
// the two lists and changes the sheet's rows, previous day and time stamp.
struct RollLists {
  std::vector<ListEntry> done, worked;
};
RollLists rollSheet(Sheet& sheet, const Moment& now);

// Reply bodies.
std::string sheetReply(const Sheet& sheet);
std::string doneListReply(const std::vector<ListEntry>& done);
std::string workedListReply(const std::vector<ListEntry>& worked);
std::string projectsReply(const std::vector<ProjectEntry>& projects);
std::string categoriesReply(const std::vector<CategoryEntry>& categories);

}  // namespace tirelmo::sync
