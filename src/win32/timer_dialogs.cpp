#include "timer_dialogs.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "base/log.h"
#include "art_ids.h"
#include "gdi_canvas.h"
#include "wide.h"

namespace tirelmo {

namespace {

constexpr UINT kFlashPeriodMs = 1000;
constexpr int kCategoryCell = 18;  // the category squares bitmap: cell x = category * 18
constexpr int kMaxCategory = 12;
constexpr int kTomatoSize = 16;
constexpr int kLineGap = 4;

// What a dialog of this file needs while it is open; lives on the caller's stack, so what
// the dialog made is released when the call that showed it returns.
struct DialogState {
  const TimeElapsedPicture* pomodoro = nullptr;
  const BreakElapsedPicture* breakEnd = nullptr;
  GdiObject messageFont;
  IconHolder tomato;
  GdiObject categories;
};

HINSTANCE programModule() { return GetModuleHandleW(nullptr); }

DialogState* stateOf(HWND dlg) { return reinterpret_cast<DialogState*>(GetWindowLongPtrW(dlg, GWLP_USERDATA)); }

// The message line stands out: the dialog's own face, bold and half as large again.
HFONT largerBoldFont(HWND dlg) {
  LOGFONTW lf{};
  HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0));
  if (!dialogFont || !GetObjectW(dialogFont, sizeof lf, &lf)) lf.lfHeight = -12;
  lf.lfHeight = lf.lfHeight * 3 / 2;
  lf.lfWeight = FW_BOLD;
  return CreateFontIndirectW(&lf);
}

void setMessage(HWND dlg, DialogState& st, int controlId, u16v text) {
  SetDlgItemTextW(dlg, controlId, Wstr(text).c_str());
  GdiObject font(largerBoldFont(dlg));
  if (!font) return;
  SendDlgItemMessageW(dlg, controlId, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  st.messageFont = std::move(font);  // an earlier font goes only once the control has the new one
}

// Both dialogs call for attention the same way: in front, flashing, once a second, from the
// moment they open until they are answered.
void startFlashing(HWND dlg) {
  SetForegroundWindow(dlg);
  FlashWindow(dlg, TRUE);
  if (!SetTimer(dlg, kElapsedDialogTimerId, kFlashPeriodMs, nullptr)) logLastError(u"SetTimer 404");
}

void flash(HWND dlg) {
  SetForegroundWindow(dlg);
  FlashWindow(dlg, TRUE);
}

void finish(HWND dlg, INT_PTR answer) {
  KillTimer(dlg, kElapsedDialogTimerId);
  EndDialog(dlg, answer);
}

// ---- The picture of DLG_TIMEELAPSED -----------------------------------------------------

void drawCategoryMark(HDC dc, HGDIOBJ squares, int category, int x, int y) {
  if (!squares || category < 1 || category > kMaxCategory) return;
  const MemoryDc mem(CreateCompatibleDC(dc), static_cast<HBITMAP>(squares));
  if (!mem.get()) return;
  BitBlt(dc, x, y, kCategoryCell, kCategoryCell, mem.get(), category * kCategoryCell, 0, SRCCOPY);
}

int lineHeight(HDC dc) {
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  return std::max<int>(tm.tmHeight, 1);
}

// The task text (up to two lines) with its category square on the left, then one line per
// count: the count right-aligned in a column, a tomato, the words.
void drawTimeElapsedPicture(HWND dlg, const DialogState& st, const DRAWITEMSTRUCT& item) {
  const TimeElapsedPicture& p = *st.pomodoro;
  HDC dc = item.hDC;
  const RECT area = item.rcItem;
  FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
  FrameRect(dc, &area, GetSysColorBrush(COLOR_BTNSHADOW));

  HFONT font = reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  const int line = lineHeight(dc);
  const int left = area.left + 8;
  int y = area.top + 6;

  int textLeft = left;
  if (p.category >= 1 && p.category <= kMaxCategory) {
    drawCategoryMark(dc, st.categories.get(), p.category, left, y + std::max(0, (line - kCategoryCell) / 2));
    textLeft += kCategoryCell + 6;
  }
  RECT task{textLeft, y, area.right - 8, y + 2 * line};
  const std::wstring taskText = Wstr(p.taskText);
  DrawTextW(dc, taskText.c_str(), static_cast<int>(taskText.size()), &task,
            DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS | DT_EDITCONTROL);
  y += 2 * line + 6;

  // The count column is as wide as the widest count, so every tomato sits in one column.
  std::vector<TomatoLineParts> lines;
  int countWidth = 0;
  for (const u16& l : p.tomatoLines) {
    lines.push_back(splitTomatoLine(l));
    SIZE size{};
    const std::wstring& c = lines.back().count;
    if (!c.empty() && GetTextExtentPoint32W(dc, c.c_str(), static_cast<int>(c.size()), &size))
      countWidth = std::max<int>(countWidth, size.cx);
  }
  const int rowHeight = std::max(line, kTomatoSize) + kLineGap;
  for (const TomatoLineParts& parts : lines) {
    if (y + rowHeight > area.bottom) break;  // never draws over the frame
    const int textY = y + (rowHeight - kLineGap - line) / 2;
    int x = left;
    if (!parts.count.empty()) {
      RECT countBox{x, textY, x + countWidth, textY + line};
      DrawTextW(dc, parts.count.c_str(), static_cast<int>(parts.count.size()), &countBox,
                DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
      x += countWidth + 6;
    }
    if (st.tomato)
      DrawIconEx(dc, x, y + (rowHeight - kLineGap - kTomatoSize) / 2, st.tomato.get(), kTomatoSize, kTomatoSize,
                 0, nullptr, DI_NORMAL);
    x += kTomatoSize + 6;
    RECT words{x, textY, area.right - 8, textY + line};
    DrawTextW(dc, parts.words.c_str(), static_cast<int>(parts.words.size()), &words,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    y += rowHeight;
  }
  if (oldFont) SelectObject(dc, oldFont);
}

INT_PTR CALLBACK timeElapsedProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* st = reinterpret_cast<DialogState*>(lParam);
      SetWindowLongPtrW(dlg, GWLP_USERDATA, lParam);
      const TimeElapsedPicture& p = *st->pomodoro;
      SetWindowTextW(dlg, Wstr(p.caption).c_str());
      setMessage(dlg, *st, IDC_TE_MESSAGE, p.message);
      SetDlgItemTextW(dlg, IDC_TE_OK, Wstr(p.okLabel).c_str());
      SetDlgItemTextW(dlg, IDC_TE_DONE, Wstr(p.doneLabel).c_str());
      SetDlgItemTextW(dlg, IDC_TE_ABANDON, Wstr(p.abandonLabel).c_str());
      SetDlgItemTextW(dlg, IDC_TE_CANCEL, Wstr(p.cancelLabel).c_str());
      st->tomato.reset(static_cast<HICON>(LoadImageW(programModule(), MAKEINTRESOURCEW(art::kIcoTimerTomato),
                                                     IMAGE_ICON, kTomatoSize, kTomatoSize, 0)));
      if (!st->tomato) logLastError(u"LoadImage tomato");
      st->categories.reset(
          LoadImageW(programModule(), MAKEINTRESOURCEW(art::kBmpCategorySquares), IMAGE_BITMAP, 0, 0, 0));
      startFlashing(dlg);
      SetFocus(GetDlgItem(dlg, IDC_TE_OK));
      return FALSE;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      DialogState* st = stateOf(dlg);
      if (!st || !st->pomodoro || item->CtlID != IDC_TE_PICTURE) return FALSE;
      drawTimeElapsedPicture(dlg, *st, *item);
      return TRUE;
    }
    case WM_TIMER:
      if (wParam == kElapsedDialogTimerId) flash(dlg);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
        case IDC_TE_OK:
        case IDC_TE_DONE:
        case IDC_TE_ABANDON:
        case IDC_TE_CANCEL:
          finish(dlg, static_cast<INT_PTR>(outcomeOfTimeElapsedControl(LOWORD(wParam))));
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK breakElapsedProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* st = reinterpret_cast<DialogState*>(lParam);
      SetWindowLongPtrW(dlg, GWLP_USERDATA, lParam);
      const BreakElapsedPicture& p = *st->breakEnd;
      SetWindowTextW(dlg, Wstr(p.caption).c_str());
      setMessage(dlg, *st, IDC_BE_MESSAGE, p.message);
      SetDlgItemTextW(dlg, IDOK, Wstr(p.okLabel).c_str());
      startFlashing(dlg);
      SetFocus(GetDlgItem(dlg, IDOK));
      return FALSE;
    }
    case WM_TIMER:
      if (wParam == kElapsedDialogTimerId) flash(dlg);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        finish(dlg, IDOK);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

PomodoroOutcome outcomeOfTimeElapsedControl(int controlId) {
  switch (controlId) {
    case IDC_TE_OK:
    case IDOK:  // Enter when the focus is on no button
      return PomodoroOutcome::Ok;
    case IDC_TE_DONE:
      return PomodoroOutcome::Done;
    case IDC_TE_ABANDON:
      return PomodoroOutcome::Abandon;
    default:
      return PomodoroOutcome::Cancel;
  }
}

TomatoLineParts splitTomatoLine(u16v line) {
  std::size_t i = 0;
  while (i < line.size() && line[i] == u' ') ++i;
  const std::size_t digits = i;
  while (i < line.size() && line[i] >= u'0' && line[i] <= u'9') ++i;
  TomatoLineParts parts;
  if (i == digits) {
    parts.words = Wstr(line);
    return parts;
  }
  parts.count = Wstr(line.substr(digits, i - digits));
  while (i < line.size() && line[i] == u' ') ++i;
  parts.words = Wstr(line.substr(i));
  return parts;
}

PomodoroOutcome showTimeElapsedDialog(HWND owner, const TimeElapsedPicture& picture) {
  DialogState st;
  st.pomodoro = &picture;
  const INT_PTR r = DialogBoxParamW(programModule(), L"DLG_TIMEELAPSED", owner, timeElapsedProc,
                                    reinterpret_cast<LPARAM>(&st));
  if (r == -1 || r == 0) {
    logLastError(u"DialogBox DLG_TIMEELAPSED");
    logLine(u"Pomodoro outcome not asked: nothing recorded");
    return PomodoroOutcome::Cancel;
  }
  const auto outcome = static_cast<PomodoroOutcome>(r);
  logLine(u"Pomodoro end answered %d", static_cast<int>(outcome));
  return outcome;
}

void showBreakElapsedDialog(HWND owner, const BreakElapsedPicture& picture) {
  DialogState st;
  st.breakEnd = &picture;
  const INT_PTR r = DialogBoxParamW(programModule(), L"DLG_BREAKTIMEELAPSED", owner, breakElapsedProc,
                                    reinterpret_cast<LPARAM>(&st));
  if (r == -1 || r == 0) logLastError(u"DialogBox DLG_BREAKTIMEELAPSED");
}

}  // namespace tirelmo
