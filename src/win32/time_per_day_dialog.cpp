#include "time_per_day_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/app.h"
#include "base/log.h"
#include "gdi_canvas.h"
#include "main_window.h"
#include "ui/time_per_day.h"
#include "wide.h"

namespace tirelmo {

namespace {

constexpr int kChartMargin = 8;
constexpr ULONGLONG kFileTimeDay = 24ULL * 60 * 60 * 10000000;

struct TimePerDayState {
  MainWindow* w = nullptr;
  TodoRow row;  // the row as it was when the dialog opened
  std::unique_ptr<Surface> chart;
  POINT chartAt{kChartMargin, 0};
};

void initDateControls() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
  done = InitCommonControlsEx(&icc) != FALSE;
  if (!done) logLastError(u"InitCommonControlsEx");
}

SYSTEMTIME systemDate(int year, int month, int day) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  return st;
}

SYSTEMTIME daysBefore(const SYSTEMTIME& date, int days) {
  FILETIME ft;
  SYSTEMTIME out = date;
  if (!SystemTimeToFileTime(&date, &ft)) return out;
  ULARGE_INTEGER v{{ft.dwLowDateTime, ft.dwHighDateTime}};
  v.QuadPart -= static_cast<ULONGLONG>(days) * kFileTimeDay;
  ft = {v.LowPart, v.HighPart};
  FileTimeToSystemTime(&ft, &out);
  return out;
}

ArchiveDate pickedDate(HWND dlg, int id) {
  SYSTEMTIME st{};
  if (SendDlgItemMessageW(dlg, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) return {};
  return {st.wYear, st.wMonth, st.wDay};
}

// Puts the chart area below the controls and grows the dialog around it.
void layOut(HWND dlg, TimePerDayState& state) {
  RECT button{};
  GetWindowRect(GetDlgItem(dlg, IDOK), &button);
  MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&button), 2);
  state.chartAt = {kChartMargin, button.bottom + kChartMargin};
  RECT frame{0, 0, kTimePerDayWidth + 2 * kChartMargin, state.chartAt.y + kTimePerDayHeight + kChartMargin};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dlg, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dlg, GWL_EXSTYLE)));
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT owner{};
  GetWindowRect(GetParent(dlg) ? GetParent(dlg) : GetDesktopWindow(), &owner);
  int x = owner.left + (owner.right - owner.left - width) / 2;
  int y = owner.top + (owner.bottom - owner.top - height) / 2;
  const RECT work = [] {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
  }();
  if (x + width > work.right) x = work.right - width;
  if (y + height > work.bottom) y = work.bottom - height;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  SetWindowPos(dlg, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void showChart(HWND dlg, TimePerDayState& state) {
  App& app = state.w->app;
  const ArchiveDate from = pickedDate(dlg, IDC_TPD_FROM);
  const ArchiveDate to = pickedDate(dlg, IDC_TPD_TO);
  EnableWindow(dlg, FALSE);
  const auto query = queryTimePerDay(app, from, to, state.row);
  EnableWindow(dlg, TRUE);
  SetActiveWindow(dlg);
  if (!query) return;
  if (!state.chart) {
    state.chart = state.w->graphics.createSurface(kTimePerDayWidth, kTimePerDayHeight);
    if (state.chart && !static_cast<GdiSurface&>(*state.chart).valid()) state.chart.reset();
    if (!state.chart) {
      logLine(u"Time per day: no drawing surface");
      return;
    }
  }
  drawTimePerDayChart(*state.chart, *query, from, to, app.language());
  RECT area{state.chartAt.x, state.chartAt.y, state.chartAt.x + kTimePerDayWidth,
            state.chartAt.y + kTimePerDayHeight};
  InvalidateRect(dlg, &area, FALSE);
}

INT_PTR CALLBACK timePerDayProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<TimePerDayState*>(GetWindowLongPtrW(dlg, GWLP_USERDATA));
  switch (msg) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<TimePerDayState*>(lParam);
      SetWindowLongPtrW(dlg, GWLP_USERDATA, lParam);
      const App& app = state->w->app;
      SetWindowTextW(dlg, Wstr(app.tr(Txt::TimePerDayTitle)).c_str());
      SetDlgItemTextW(dlg, IDC_TPD_FROM_LABEL, Wstr(app.tr(Txt::TimePerDayFrom)).c_str());
      SetDlgItemTextW(dlg, IDC_TPD_TO_LABEL, Wstr(app.tr(Txt::TimePerDayTo)).c_str());
      SetDlgItemTextW(dlg, IDOK, Wstr(app.tr(Txt::TimePerDayShow)).c_str());
      SetDlgItemTextW(dlg, IDCANCEL, Wstr(app.tr(Txt::TimePerDayClose)).c_str());
      // The day of this run, as everything else in the program counts it.
      const DayDate& today = app.start.today;
      SYSTEMTIME to = systemDate(today.year, today.month, today.day());
      SYSTEMTIME from = daysBefore(to, 30);
      SendDlgItemMessageW(dlg, IDC_TPD_FROM, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&from));
      SendDlgItemMessageW(dlg, IDC_TPD_TO, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&to));
      layOut(dlg, *state);
      showChart(dlg, *state);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: showChart(dlg, *state); return TRUE;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); return TRUE;
      }
      break;
    case WM_PAINT: {
      if (!state) break;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(dlg, &ps);
      if (state->chart) {
        BitBlt(dc, state->chartAt.x, state->chartAt.y, kTimePerDayWidth, kTimePerDayHeight,
               static_cast<GdiSurface&>(*state->chart).dc(), 0, 0, SRCCOPY);
      }
      EndPaint(dlg, &ps);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

void showTimePerDayDialog(MainWindow& w) {
  App& app = w.app;
  App::call(app.hooks.takeEditorTexts);
  const int row = app.ui.currentRow;
  if (!app.sheet.validRow(row) || app.sheet.rows[static_cast<std::size_t>(row)].isFree()) {
    app.prompts.show(app.tr(Txt::TimePerDayEmptyRow), app.tr(Txt::CaptionApp), MsgButtons::Ok,
                     MsgIcon::Information);
    return;
  }
  initDateControls();
  TimePerDayState state;
  state.w = &w;
  state.row = app.sheet.rows[static_cast<std::size_t>(row)];
  if (DialogBoxParamW(w.instance, MAKEINTRESOURCEW(IDD_TIME_PER_DAY), w.hwnd, timePerDayProc,
                      reinterpret_cast<LPARAM>(&state)) == -1)
    logLastError(u"DialogBoxParam time per day");
}

}  // namespace tirelmo
