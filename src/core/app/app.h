// The App struct owns every process-wide model and the ports the core talks through.
// The Win32 program builds one with the real adapters; tests build one with fakes and call
// the same operations the window procedure calls.
#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/prompts.h"
#include "platform/system.h"
#include "storage/settings.h"
#include "text/strings.h"
#include "text/ustring.h"

namespace tirelmo {

// A calendar day as the program keeps it: the day of month is zero-based, which makes it
// the day's slot in the month table.
struct DayDate {
  int year = 0;
  int month = 0;      // 1..12
  int dayOfWeek = 0;  // 0 = Sunday
  int day0 = 0;       // day of month - 1

  static DayDate from(const LocalTime& t) { return {t.year, t.month, t.dayOfWeek, t.day - 1}; }
  bool sameDay(const DayDate& o) const { return year == o.year && month == o.month && day0 == o.day0; }
};

// What start-up learns about the run; filled by the environment and data phases.
struct StartupState {
  LocalTime startTime;        // "today" for the whole run
  DayDate today;
  DayDate displayedSheetDate; // changes when an older sheet is on display
  u16 programFolder;          // where the executable lives (the sounds are below it)
  u16 defaultUserDataDir;     // log and settings
  u16 userDataDir;            // all data; the current directory while running
  bool firstRunToday = false;
  u16 computerName;
  u16 userName;
  u16 osDescription;
  std::uint16_t uiLanguageId = 0;
  std::uint16_t keyboardLayoutId = 0;
  u16 languageName;
};

struct App {
  App(Clock& c, Prompts& p, SystemInfo& s) : clock(c), prompts(p), system(s) {}

  Clock& clock;
  Prompts& prompts;
  SystemInfo& system;

  Settings settings;
  StartupState start;

  // Length in minutes of the next pomodoro, taken from the settings at every data phase.
  int timerMinutes = 25;

  Language language() const { return languageFromSetting(settings.language); }
  const char16_t* tr(Txt id) const { return text(id, language()); }
};

}  // namespace tirelmo
