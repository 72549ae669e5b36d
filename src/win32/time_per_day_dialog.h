// The time spent on the current row's task per day: two date pickers and the chart. The
// control ids are shared with time_per_day.rc.
#pragma once

#define IDD_TIME_PER_DAY 190
#define IDC_TPD_FROM_LABEL 1761
#define IDC_TPD_FROM 1762
#define IDC_TPD_TO_LABEL 1763
#define IDC_TPD_TO 1764

#ifndef RC_INVOKED

namespace tirelmo {

struct MainWindow;

// Modal. Opens on the last 30 days up to today with the chart already drawn; "Show" draws
// the picked range again. An empty current row is explained instead.
void showTimePerDayDialog(MainWindow& w);

}  // namespace tirelmo

#endif  // RC_INVOKED
