// The texts the program shows, each with its English form and its Chinese (Simplified)
// twin. Log lines and file contents are never translated and do not live here.
#pragma once

#include "text/ustring.h"

namespace tirelmo {

enum class Language { English, ChineseSimplified };

// The "Language" setting holds the English name of the language.
Language languageFromSetting(u16v settingValue);

// X(id, English, Chinese). Keep the English texts exactly as the program shows them.
#define TIRELMO_TEXTS(X)                                                                    \
  X(CaptionVersion, u"Tirelmo - v2.3.3.0", u"Tirelmo - v2.3.3.0")                            \
  X(CaptionApp, u"Tirelmo", u"Tirelmo")                                                       \
  X(CaptionError, u"Error", u"错误")                                                          \
  X(ScoresOnTodoPageOnly, u"Scores can be added on the ToDo list page only.\n\nOperation aborted.", \
    u"只能在待办事项页面上添加分数。\n\n操作已中止。")                                          \
  X(ScoresReadOnlySheet,                                                                     \
    u"Previous ToDo lists are displayed in Read-Only mode,\nso scores can't be added.\n\nOperation aborted.\n", \
    u"以前的待办事项列表以只读模式显示，\n因此无法添加分数。\n\n操作已中止。\n")              \
  X(ScoreOnDoneTask,                                                                         \
    u"This task is marked as done so no new scores can be added.\nDo you want to remove the done score?", \
    u"此任务已标记为完成，因此无法添加新分数。\n是否要删除完成标记？")                        \
  X(RemoveDoneTodayOnly,                                                                     \
    u"This feature is available only for To-do lists of today.\n\nOperation Aborted.",        \
    u"此功能仅适用于今天的待办事项列表。\n\n操作已中止。")                                    \
  X(NotLinkedToProject, u"<Not linked to a Project>", u"<没有链接到项目>")                    \
  X(ErrSavingMonthStatsFile, u"Error Saving Month Stats File!", u"保存月度统计文件时出错！")   \
  X(ErrSavingMonthStatsData, u"Error Saving Month Stats data!", u"保存月度统计数据时出错！")   \
  X(ErrCreatingDefaultDir, u"ERROR creating Default User-data directory",                    \
    u"创建默认用户数据目录时出错")                                                            \
  X(ErrSettingsNotSaved, u"Error: settings not saved into file!", u"错误：设置未保存到文件！") \
  X(ErrWriteFailed, u"Error: the file could not be written.\nYour previous data were kept.",  \
    u"错误：无法写入文件。\n之前的数据已保留。") \
  X(ErrSavingSheet, u"Error Saving To-do Sheet", u"保存待办表时出错")                           \
  X(ErrUnknownSheetFormat, u"Unknown Format for the ToDo list file", u"未知的待办列表文件格式")   \
  X(ErrOpeningSheet, u"Error opening ToDo Today file", u"打开今日待办文件时出错")               \
  X(AskSaveModifiedPage, u"Some page was modified.\nSave your changes?",                      \
    u"某个页面已被修改。\n是否保存更改？")                                                    \
  X(CaptionCloudError, u"Tirelmo Cloud error", u"Tirelmo 云端错误")                          \
  X(CloudContactFailed,                                                                      \
    u"Tirelmo couldn't contact the server.\rPlease check your Internet connection.\r\rClick\r" \
    u" - Abort to exit Tirelmo\r - Retry to make a new attempt\r"                             \
    u" - Ignore to use local data, ignore cloud data.",                                       \
    u"Tirelmo 无法连接服务器。\r请检查您的网络连接。\r\r点击\r"                              \
    u" - 中止：退出 Tirelmo\r - 重试：再试一次\r - 忽略：使用本地数据，忽略云端数据。")          \
  X(NoPreviousSheet, u"No previous ToDo sheet was found", u"没有找到更早的待办表")             \
  X(LatestSheet, u"That's the latest ToDo sheet.", u"这已经是最新的待办表。")

enum class Txt {
#define TIRELMO_TEXT_ID(id, en, zh) id,
  TIRELMO_TEXTS(TIRELMO_TEXT_ID)
#undef TIRELMO_TEXT_ID
      Count
};

// The text in the given language; English when no twin exists.
const char16_t* text(Txt id, Language lang);

}  // namespace tirelmo
