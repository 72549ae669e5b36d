#include "clock_posix.h"

#include <sys/time.h>
#include <time.h>

namespace tirelmo {

LocalTime PosixClock::now() const {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  tm t{};
  localtime_r(&tv.tv_sec, &t);
  LocalTime r;
  r.year = t.tm_year + 1900;
  r.month = t.tm_mon + 1;
  r.dayOfWeek = t.tm_wday;
  r.day = t.tm_mday;
  r.hour = t.tm_hour;
  r.minute = t.tm_min;
  r.second = t.tm_sec;
  r.milliseconds = static_cast<int>(tv.tv_usec / 1000);
  return r;
}

}  // namespace tirelmo
