#include "base/dates.h"

namespace tirelmo {

const char16_t* dayNameEnglish(int dayOfWeek) {
  static const char16_t* const names[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                          u"Thursday", u"Friday", u"Saturday"};
  return (dayOfWeek >= 0 && dayOfWeek < 7) ? names[dayOfWeek] : u"";
}

const char16_t* dayNameChinese(int dayOfWeek) {
  static const char16_t* const names[] = {u"星期日", u"星期一", u"星期二", u"星期三",
                                          u"星期四", u"星期五", u"星期六"};
  return (dayOfWeek >= 0 && dayOfWeek < 7) ? names[dayOfWeek] : u"";
}

const char16_t* monthNameEnglish(int month) {
  static const char16_t* const names[] = {u"January", u"February", u"March",     u"April",
                                          u"May",     u"June",     u"July",      u"August",
                                          u"September", u"October", u"November", u"December"};
  return (month >= 1 && month <= 12) ? names[month - 1] : u"";
}

bool isArchiveLeapYear(int year) { return year % 4 == 0; }

int dayOfYear(int year, int month, int day) {
  static const int common[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  static const int leap[] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};
  if (month < 1 || month > 12) return day;
  return (isArchiveLeapYear(year) ? leap : common)[month - 1] + day;
}

int weekNumber(int year, int month, int day, int dayOfWeek) {
  return (dayOfYear(year, month, day) - dayOfWeek + 10) / 7;
}

int dayOfWeekOf(int year, int month, int day) {
  static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 1 || month > 12) return 0;
  const int y = year - (month < 3 ? 1 : 0);
  return ((y + y / 4 - y / 100 + y / 400 + t[month - 1] + day) % 7 + 7) % 7;
}

long daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe;
}

bool isCalendarDate(int y, int m, int d) {
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m < 1 || m > 12 || d < 1) return false;
  if (m == 2 && d == 29) return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= kDays[m - 1];
}

int deadlineClass(long daysLeft) {
  if (daysLeft <= 0) return 5;
  if (daysLeft <= 3) return 4;
  if (daysLeft <= 7) return 3;
  if (daysLeft <= 14) return 2;
  if (daysLeft <= 30) return 1;
  return 0;
}

const char16_t* shortMonthName(int month) {
  static constexpr const char16_t* kNames[] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                               u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  return month >= 1 && month <= 12 ? kNames[month - 1] : u"";
}


}  // namespace tirelmo
