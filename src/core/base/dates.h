// Calendar helpers: the day as the program keeps it, names, day of year and week number.
#pragma once

#include "platform/clock.h"

namespace tirelmo {

// A calendar day; the day of month is zero-based, which makes it the day's slot in the
// month table.
struct DayDate {
  int year = 0;
  int month = 0;      // 1..12
  int dayOfWeek = 0;  // 0 = Sunday
  int day0 = 0;       // day of month - 1

  static DayDate from(const LocalTime& t) { return {t.year, t.month, t.dayOfWeek, t.day - 1}; }
  int day() const { return day0 + 1; }
  bool sameDay(const DayDate& o) const { return year == o.year && month == o.month && day0 == o.day0; }
};

// "Sunday".."Saturday" and "January".."December"; "" for a value out of range.
const char16_t* dayNameEnglish(int dayOfWeek);
const char16_t* monthNameEnglish(int month);
// Chinese day names ("星期日".."星期六").
const char16_t* dayNameChinese(int dayOfWeek);

// The archive's calendar: a leap year is a year divisible by 4.
bool isArchiveLeapYear(int year);
int dayOfYear(int year, int month, int day);
// (day of year - day of week + 10) / 7.
int weekNumber(int year, int month, int day, int dayOfWeek);

// The day of week of a date in the Gregorian calendar (0 = Sunday).
int dayOfWeekOf(int year, int month, int day);

// Days since 1 March of year 0 in the proleptic Gregorian calendar: differences of two of
// them count the days between calendar dates at midnight.
long daysFromCivil(int year, int month, int day);
bool isCalendarDate(int year, int month, int day);

// The urgency class of a deadline so many days ahead: 5 due today or overdue, 4 in 1 to 3
// days, 3 in 4 to 7, 2 in 8 to 14, 1 in 15 to 30, 0 later. The row label and the Todolist
// tabs show the same class.
int deadlineClass(long daysLeft);

// "Jan" .. "Dec"; empty for a month out of 1..12.
const char16_t* shortMonthName(int month);

}  // namespace tirelmo
