#include "dialog_texts.h"

#include <vector>

#include "base/log.h"
#include "dialogs.h"
#include "list_dialogs.h"
#include "project_dialogs.h"
#include "resource.h"
#include "usage_dialog.h"
#include "wide.h"

namespace tirelmo {

namespace {

struct ControlText {
  int id;
  Txt text;
};

struct DialogTexts {
  const wchar_t* templateName;
  Txt caption;
  std::vector<ControlText> controls;
};

const std::vector<DialogTexts>& dialogTexts() {
  static const std::vector<DialogTexts> kTable = {
      {L"NEWTDLACTINVDLG", Txt::CjkNewTodolistTitle, {{IDOK, Txt::CjkCreate}, {IDCANCEL, Txt::DialogCancel}}},
      {L"ACTINVTDLDLG", Txt::CjkManageTodolistsTitle, {{IDOK, Txt::DialogOk}, {IDCANCEL, Txt::DialogCancel}}},
      {L"MOVEROWSDLG",
       Txt::CjkMoveRowsTitle,
       {{IDC_MOVEROWS_DESTINATION_LABEL, Txt::CjkDestinationList},
        {IDOK, Txt::DialogOk},
        {IDCANCEL, Txt::DialogCancel}}},
      {L"IDD_DEADLINE",
       Txt::CjkDeadlineTitle,
       {{IDC_DEADLINE_TODO_LABEL, Txt::CjkDeadlineToDo},
        {IDC_DEADLINE_REMOVE, Txt::CjkRemoveDeadline},
        {IDOK, Txt::DialogOk},
        {IDCANCEL, Txt::DialogCancel}}},
      {L"LINKTOPRJDLG",
       Txt::CjkLinkTitle,
       {{IDC_PRJ_CURRENT_LABEL, Txt::CjkCurrentlyLinked},
        {IDC_PRJ_LIST_LABEL, Txt::CjkLinkToProject},
        {IDOK, Txt::DialogOk},
        {IDCANCEL, Txt::DialogCancel}}},
      {L"EDITPRJDLG",
       Txt::CjkEditProjectTitle,
       {{IDC_PRJ_LIST_LABEL, Txt::CjkSelectProjectToEdit},
        {IDC_PRJ_NAME_LABEL, Txt::CjkProjectName},
        {IDC_PRJ_STATE_LABEL, Txt::CjkProjectState},
        {IDC_PRJ_DEADLINE_LABEL, Txt::MenuDeadline},
        {IDOK, Txt::DialogOk},
        {IDCANCEL, Txt::DialogCancel}}},
      {L"REPORT_ON_PRJ",
       Txt::TipCreateReport,
       {{IDC_PRJ_LIST_LABEL, Txt::CjkSelectProject},
        {IDC_PRJ_FROM_LABEL, Txt::TimePerDayFrom},
        {IDC_PRJ_TO_LABEL, Txt::TimePerDayTo},
        {IDOK, Txt::DialogOk},
        {IDCANCEL, Txt::DialogCancel}}},
      {L"CATEGORIESIDDLG", Txt::CjkCategoriesTitle, {{IDOK, Txt::DialogOk}, {IDCANCEL, Txt::DialogCancel}}},
      {L"APPUSAGEDELDLG",
       Txt::CjkUsageDeleteTitle,
       {{IDC_USAGE_LIST_LABEL, Txt::CjkUsageSelectItem},
        {IDOK, Txt::CjkDelete},
        {IDCANCEL, Txt::DialogCancel}}},
      {L"HELPDLG",
       Txt::MenuHelp,
       {{IDC_HELP_GROUP_KEYS, Txt::CjkHelpShortcutKeys},
        {IDC_HELP_KEY_FIRST, Txt::CjkHelpTab},
        {IDC_HELP_KEY_FIRST + 1, Txt::CjkHelpF5},
        {IDC_HELP_KEY_FIRST + 2, Txt::CjkHelpF6},
        {IDC_HELP_KEY_FIRST + 3, Txt::CjkHelpSave},
        {IDC_HELP_KEY_FIRST + 4, Txt::CjkHelpPrevNext},
        {IDC_HELP_KEY_FIRST + 5, Txt::CjkHelpRowUp},
        {IDC_HELP_KEY_FIRST + 6, Txt::CjkHelpRowDown},
        {IDC_HELP_GROUP_SCORES, Txt::CjkHelpScoreKeys},
        {IDC_HELP_SCORE_LINE_FIRST, Txt::CjkHelpTomato},
        {IDC_HELP_SCORE_LINE_FIRST + 1, Txt::CjkHelpInterruption},
        {IDC_HELP_SCORE_LINE_FIRST + 2, Txt::CjkHelpExternal},
        {IDC_HELP_SCORE_LINE_FIRST + 3, Txt::CjkHelpAbandoned},
        {IDC_HELP_SCORE_LINE_FIRST + 4, Txt::CjkHelpEstimated},
        {IDC_HELP_SCORE_LINE_FIRST + 5, Txt::CjkHelpDone},
        {IDC_HELP_GROUP_SUPPORT, Txt::CjkHelpSupport},
        {IDC_HELP_REQUEST, Txt::CjkHelpRequest},
        {IDC_HELP_WRITE_ME, Txt::CjkHelpWriteMe},
        {IDOK, Txt::DialogOk}}},
      {L"AboutDlg",
       Txt::CjkAboutTitle,
       {{IDC_ABOUT_LINE_FIRST, Txt::CjkAboutBenefit},
        {IDC_ABOUT_LINE_FIRST + 1, Txt::CjkAboutDonation},
        {IDC_ABOUT_LINE_FIRST + 2, Txt::CjkAboutSuggest},
        {IDC_ABOUT_LINE_FIRST + 3, Txt::CjkAboutAmount},
        {IDC_ABOUT_DONATE, Txt::CjkAboutDonate},
        {IDCANCEL, Txt::CjkAboutNoThanks}}},
      {L"DLG_CHKVER",
       Txt::CaptionApp,
       {{IDC_CHKVER_LINE_FIRST, Txt::ChkVerCheckingIf},
        {IDC_CHKVER_LINE_FIRST + 1, Txt::ChkVerNewerVersion},
        {IDC_CHKVER_LINE_FIRST + 2, Txt::ChkVerIsAvailable},
        {IDOK, Txt::DialogOk}}},
  };
  return kTable;
}

}  // namespace

void translateDialog(HWND dlg, Language lang, const wchar_t* templateName) {
  if (lang != Language::ChineseSimplified) return;
  for (const DialogTexts& d : dialogTexts()) {
    if (lstrcmpW(d.templateName, templateName) != 0) continue;
    SetWindowTextW(dlg, Wstr(text(d.caption, lang)).c_str());
    for (const ControlText& t : d.controls) {
      // A missing control means the template and the table went apart: say so rather than
      // leave an English text nobody notices.
      if (!SetDlgItemTextW(dlg, t.id, Wstr(text(t.text, lang)).c_str()))
        logLine(u"Dialog %s: no control %d to translate", U(templateName), t.id);
    }
    return;
  }
  logLine(u"Dialog %s: no Chinese texts known", U(templateName));
}

}  // namespace tirelmo
