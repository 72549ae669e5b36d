// The texts the program shows, each with its English form and its Chinese (Simplified)
// twin. Log lines and file contents are never translated and do not live here.
#pragma once

#include "text/ustring.h"

namespace tirelmo {

enum class Language { English, ChineseSimplified };

// The "Language" setting holds the English name of the language.
Language languageFromSetting(u16v settingValue);

// X(id, English, Chinese). Keep the English texts exactly as the program shows them.
// clang-format off
#define TIRELMO_TEXTS(X)                                                                    \
  X(CaptionVersion, u"Tirelmo - v2.3.3.0", u"Tirelmo - v2.3.3.0")                            \
  X(CaptionApp, u"Tirelmo", u"Tirelmo")                                                       \
  X(CaptionError, u"Error", u"错误")                                                          \
  X(ProjectsQuestion, u"Do you know you can track the time\nyou spend on your projects?\n\nClick Ok to learn more.", u"您知道可以跟踪\n在项目上花费的时间吗？\n\n点击“确定”了解更多。") \
  X(MenuViewOldLists, u"View old ToDo lists \t[F2]", u"查看以前的待办列表 \t[F2]")           \
  X(MenuBackToToday, u"Back to Today ToDo list", u"返回今日待办列表")                          \
  X(MenuNewTodoList, u"New ToDo list", u"新建待办列表")                                        \
  X(MenuUndoneFirst, u"List Undone Tasks first", u"未完成的任务排在前面")                      \
  X(MenuSortAZ, u"Sort Tasks A -> Z", u"任务排序 A -> Z")                                      \
  X(MenuNewTodolist, u"New Todolist..", u"新建任务清单..")                                     \
  X(MenuManageTodolists, u"Manage Todolists..", u"管理任务清单..")                             \
  X(MenuMoveRowTo, u"Move Current Row to..", u"将当前行移至..")                                \
  X(MenuTodoToday, u"Todo Today", u"今日待办")                                                 \
  X(MenuMoveRows, u"Move Rows", u"移动多行")                                                   \
  X(MenuDeadline, u"Deadline", u"截止日期")                                                    \
  X(MenuWatchTodolistsVideo, u"Watch video: How to create more Todolists",                    \
    u"观看视频：如何创建更多任务清单")                                                         \
  X(MenuLearnIn3Minutes, u"Learn Tirelmo in 3 minutes!", u"3 分钟学会使用 Tirelmo！")          \
  X(MenuHowDoI, u"How do I..", u"我该如何..")                                                  \
  X(MenuReportBugQ, u"Report a Bug?", u"报告错误？")                                           \
  X(MenuCreateTodolistsVideo, u"Create more Todolists? - [YouTube video]",                    \
    u"创建更多任务清单？- [YouTube 视频]")                                                     \
  X(MenuEnableAlarm, u"Enable Timer Alarm?", u"启用计时器提示音？")                            \
  X(MenuDeleteScoreQ, u"Delete a score?", u"删除一个分数？")                                   \
  X(MenuChangeSkin, u"Change the window skin?", u"更换窗口皮肤？")                             \
  X(MenuTrackInterruptions, u"Track Interruptions?", u"记录中断？")                            \
  X(MenuTrackProjects, u"Track Projects?", u"跟踪项目？")                                      \
  X(MenuManualsOnline, u"Manuals online", u"在线手册")                                         \
  X(MenuShortcuts, u"Shortcuts", u"快捷键")                                                    \
  X(MenuComingSoon, u"Coming Soon..", u"即将推出..")                                           \
  X(MenuYouTubeChannel, u"YouTube channel", u"YouTube 频道")                                   \
  X(MenuMakerWebsite, u"Morvex website", u"Morvex 网站")                                       \
  X(MenuAbout, u"About", u"关于")                                                              \
  X(MenuTwitter, u"Twitter", u"Twitter")                                                       \
  X(MenuShare, u"Share", u"分享")                                                              \
  X(MenuFollow, u"Follow", u"关注")                                                            \
  X(MenuLinkedIn, u"LinkedIn", u"LinkedIn")                                                    \
  X(MenuFacebook, u"Facebook", u"Facebook")                                                    \
  X(MenuExit, u"Exit", u"退出")                                                                \
  X(MenuHelp, u"Help", u"帮助")                                                                \
  X(MenuAddEstimated1, u"Add 1 Estimated", u"添加 1 个预估番茄钟")                               \
  X(MenuAddN, u"Add %d", u"添加 %d 个")                                                        \
  X(MenuNew, u"New..", u"新建..")                                                              \
  X(MenuEdit, u"Edit", u"编辑")                                                                \
  X(MenuDelete, u"Delete..", u"删除..")                                                        \
  X(MenuStartTimer, u"Start Timer \t[F5]", u"开始计时 \t[F5]")                                 \
  X(MenuStopTimer, u"Stop Timer \t[F6]", u"停止计时 \t[F6]")                                   \
  X(MenuCategorize, u"Categorize..", u"分类..")                                                \
  X(MenuRepeatEveryday, u"Repeat this Task everyday", u"每天重复此任务")                       \
  X(MenuNoLabel, u"No label", u"无标签")                                                       \
  X(MenuCustomize, u"Customize", u"自定义")                                                    \
  X(MenuProjects, u"Projects", u"项目")                                                        \
  X(MenuLinkToLast, u"Link to %s", u"链接到 %s")                                               \
  X(MenuLinkTo, u"Link to", u"链接到")                                                         \
  X(MenuScores, u"Scores..", u"分数..")                                                        \
  X(MenuAdd, u"Add..", u"添加..")                                                              \
  X(MenuPomodoro, u"Pomodoro \t[Ctrl+T]", u"番茄钟 \t[Ctrl+T]")                                \
  X(MenuEstimatedPomo, u"Estimated Pomo\t[Ctrl+Y]", u"预估番茄钟\t[Ctrl+Y]")                     \
  X(MenuInterruption, u"Interruption \t[Ctrl+I]", u"内部中断 \t[Ctrl+I]")                      \
  X(MenuExternalInterruption, u"External Interruption. \t[Ctrl+E]", u"外部中断 \t[Ctrl+E]")    \
  X(MenuTaskDone, u"Task Done!\t[Ctrl+D]", u"任务完成！\t[Ctrl+D]")                            \
  X(MenuRemovePomodoro, u"Pomodoro \t[Ctrl+Shift+T]", u"番茄钟 \t[Ctrl+Shift+T]")              \
  X(MenuRemoveEstimatedPomo, u"Estimated Pomo\t[Ctrl+Shift+Y]", u"预估番茄钟\t[Ctrl+Shift+Y]")   \
  X(MenuRemoveInterruption, u"Interruption \t[Ctrl+Shift+I]", u"内部中断 \t[Ctrl+Shift+I]")    \
  X(MenuRemoveExternalInterruption, u"External Interruption. \t[Ctrl+Shift+E]",               \
    u"外部中断 \t[Ctrl+Shift+E]")                                                              \
  X(MenuRemoveTaskDone, u"Task Done!\t[Ctrl+Shift+D]", u"任务完成！\t[Ctrl+Shift+D]")          \
  X(MenuStats, u"Stats", u"统计")                                                              \
  X(MenuMarkTodoDone, u"Mark Todo as Done", u"将待办标记为已完成")                             \
  X(CaptionReportBug, u"How to Report a Bug", u"如何报告错误")                                 \
  X(ReportBugText,                                                                            \
    u"Please describe the issue in an e-mail to support@tirelmo.example\n\n"                  \
    u"Then press \"OK\": a folder will open. Attach these files from it to your e-mail:\n\n"  \
    u"    tirelmo.i00\n    Tirelmo_v2.3.3_log.txt\n"                                          \
    u"    Tirelmo_v2.3.3_log_prev.txt (if it exists)\n"                                       \
    u"    Tirelmo_v2.3.3_log_prev2.txt (if it exists)",                                       \
    u"请通过电子邮件将问题描述发送至 support@tirelmo.example\n\n"                              \
    u"然后按“确定”：将打开一个文件夹。请将其中的以下文件附加到您的邮件中：\n\n"            \
    u"    tirelmo.i00\n    Tirelmo_v2.3.3_log.txt\n"                                          \
    u"    Tirelmo_v2.3.3_log_prev.txt（如果存在）\n"                                          \
    u"    Tirelmo_v2.3.3_log_prev2.txt（如果存在）")                                          \
  X(ErrOpeningHelpPage, u"The help page could not be opened:\n%s",                            \
    u"无法打开帮助页面：\n%s")                                                                 \
  X(ErrOpeningWebPage, u"The web page could not be opened:\n%s", u"无法打开网页：\n%s")        \
  X(ErrOpeningFolder, u"The folder could not be opened:\n%s", u"无法打开文件夹：\n%s")        \
  X(TipStartTimer, u"Start Timer. [F5]", u"开始计时。[F5]") \
  X(TipStopTimer, u"Stop Timer. [F6]", u"停止计时。[F6]") \
  X(TipSave, u"Save", u"保存") \
  X(TipSettings, u"Settings", u"设置") \
  X(TipPreviousTodo, u"Previous ToDo [Alt+Left]", u"上一个待办 [Alt+Left]") \
  X(TipTodoList, u"ToDo list", u"待办列表") \
  X(TipNextTodo, u"Next ToDo [Alt+Right]", u"下一个待办 [Alt+Right]") \
  X(TipMoveRowUp, u"Move current row UP [Alt+UP]", u"上移当前行 [Alt+UP]") \
  X(TipMoveRowDown, u"Move current row DOWN [Alt+DOWN]", u"下移当前行 [Alt+DOWN]") \
  X(TipHelp, u"Help", u"帮助") \
  X(TipEstimated, u"Estimated Pomo. Right-click to Remove.", u"预估番茄钟。右键单击可删除。") \
  X(TipPomodoro, u"Pomodoro® [Ctrl+t]. Right-click to Remove.", u"番茄钟® [Ctrl+t]。右键单击可删除。") \
  X(TipAbandoned, u"Abandoned Pomodoro®. Right-click to Remove.", u"放弃的番茄钟®。右键单击可删除。") \
  X(TipInternal, u"Internal Interruption [Ctrl+i]. Right-click to Remove.", u"内部中断 [Ctrl+i]。右键单击可删除。") \
  X(TipExternal, u"External Interruption [Ctrl+e]. Right-click to Remove.", u"外部中断 [Ctrl+e]。右键单击可删除。") \
  X(TipDone, u"Mark this todo as completed. Right-click to Remove.", u"将此待办标记为已完成。右键单击可删除。") \
  X(TipShare, u"Share", u"分享") \
  X(TipSupport, u"Support the project", u"支持本项目") \
  X(TipProjects, u"Projects", u"项目") \
  X(TipCreateReport, u"Create Report", u"创建报告") \
  X(TipDeleteEntries, u"Delete entries", u"删除条目") \
  X(PageTodoToday, u"ToDo Today", u"今日待办") \
  X(PageNextThings, u"Next Things", u"下一步") \
  X(PagePreviousDay, u"Previous Day", u"前一天") \
  X(PagePerformance, u"Performance", u"绩效") \
  X(PageHistory, u"History", u"历史") \
  X(PageProjects, u"Projects", u"项目") \
  X(PageAppsWebsites, u"Apps + Websites", u"") \
  X(StopTimerBeforeExiting, u"Stop timer before exiting.", u"退出前请先停止计时。") \
  X(TimerRunningExit, u"The timer is running.\nStop it before exiting.", u"计时器正在运行。\n请先停止再退出。") \
  X(TimerOnTodayPageOnly, u"Timer can only be started\non tasks in the ToDo Today page.\n\nOperation aborted.", \
    u"只能在“今日待办”页面的\n任务上启动计时器。\n\n操作已中止。") \
  X(TimerTodaysTasksOnly, \
    u"Timer can be started on today's tasks only.\nThe current ToDo list refers to a previous day.\n\nOperation aborted.", \
    u"只能对今天的任务启动计时器。\n当前的待办列表属于以前的日期。\n\n操作已中止。") \
  X(TimerEmptyRow, u"Can't start the timer on an empty row %d.", u"无法在空行 %d 上启动计时器。") \
  X(TimerOnDoneTask, \
    u"The selected task is marked as done.\nTo start the Timer remove the 'done' score first.\n\nDo you want to remove it now?", \
    u"所选任务已标记为完成。\n要启动计时器，请先删除“完成”标记。\n\n是否现在删除？") \
  X(TimerTitleMinutes, u"minutes ", u"分钟 ") \
  X(TimerTitleMinute, u"minute ", u"分钟 ") \
  X(TimerTitleBreak, u"* Break * %2d min ", u"* 休息 * %2d 分钟 ") \
  X(TimerTitleTimeUp, u"* Time *", u"* 时间到 *") \
  X(TimerWindowBreakTitle, u"*Break-time*", u"*休息时间*") \
  X(TimerWindowTitle, u"Timer on: %s", u"计时中：%s") \
  X(TimerTipBreak, u"Today: Pomodoro® %d\tTask Done %d\r", u"今日：番茄钟® %d\t完成任务 %d\r") \
  X(TimerTipPomodoro, u"Task: '%s..'\r\rToday: Pomodoro® %d\tTask Done %d\r", \
    u"任务：'%s..'\r\r今日：番茄钟® %d\t完成任务 %d\r") \
  X(TimerStopTimer, u"Stop Timer", u"停止计时") \
  X(TimerStyleClassic, u"Classic", u"经典") \
  X(TimerStyleGrey, u"Grey", u"灰色") \
  X(TimerStyleLightGrey, u"Light Grey", u"浅灰色") \
  X(TimerStyleYellow, u"Yellow", u"黄色") \
  X(TimerStyleBlue, u"Blue", u"蓝色") \
  X(TimerDisplayMainWindow, u"Display Main Window", u"显示主窗口") \
  X(TimerBreakWord, u"BREAK", u"休息") \
  X(TimeElapsedCaption, u"Time-out!", u"时间到！") \
  X(TimeElapsedText, u"Time out!", u"时间到！") \
  X(TimeElapsedPast, u"%2d       in the past days", u"%2d       以前几天") \
  X(TimeElapsedToday, u"%2d       today", u"%2d       今天") \
  X(TimeElapsedPresent, u"%2d times present in ToDo list", u"%2d 次出现在待办列表中") \
  X(TimeElapsedDone, u"Done", u"完成") \
  X(TimeElapsedAbandon, u"Abandon", u"放弃") \
  X(DialogOk, u"OK", u"确定") \
  X(DialogCancel, u"Cancel", u"取消") \
  X(BreakElapsedCaption, u"BreakTime out!", u"休息结束！") \
  X(BreakElapsedText, u"It's time to work!", u"该工作了！") \
  X(ConfirmCleanupSheet, u"Confirm to clean-up ToDo list?\nAll Tasks will be discarded!", u"确认清空待办列表？\n所有任务都将被丢弃！") \
  X(OpenTodayListFirst, u"Please open the ToDo list of today first.\nOperation aborted.", u"请先打开今天的待办列表。\n操作已中止。") \
  X(IconNotLoaded, u"Icon not loaded!", u"图标未加载！") \
  X(NewTodoListCreated, u"A new ToDo list\n\nwas created.", u"新的待办列表\n\n已创建。") \
  X(OpenTodoListTitle, u"Open ToDo List", u"打开待办列表") \
  X(TodoListsFilter, u"ToDo Lists", u"待办列表") \
  X(AllFilesFilter, u"All Files (*.*)", u"所有文件 (*.*)") \
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
  X(SheetDamagedCopyKept, u"The ToDo sheet %s could not be read whole.\nA copy of the file was kept as %s.", \
    u"待办表 %s 未能完整读取。\n该文件的副本已保存为 %s。")                                      \
  X(SheetDamagedNoCopy, u"The ToDo sheet %s could not be read whole, and no copy of it could be made.\nIt will not be saved over.", \
    u"待办表 %s 未能完整读取，且无法为其保存副本。\n该文件不会被覆盖。")                         \
  X(AskSaveModifiedPage, u"Some page was modified.\nSave your changes?",                      \
    u"某个页面已被修改。\n是否保存更改？")                                                    \
  X(CaptionCloudError, u"Tirelmo Cloud error", u"Tirelmo 云端错误")                          \
  X(CloudContactFailed,                                                                      \
    u"Tirelmo couldn't contact the server.\rPlease check your Internet connection.\r\rClick\r" \
    u" - Abort to exit Tirelmo\r - Retry to make a new attempt\r"                             \
    u" - Ignore to use local data, ignore cloud data.",                                       \
    u"Tirelmo 无法连接服务器。\r请检查您的网络连接。\r\r点击\r"                              \
    u" - 中止：退出 Tirelmo\r - 重试：再试一次\r - 忽略：使用本地数据，忽略云端数据。")          \
  X(SheetFormDate, u"Date:_________________", u"日期：_______________")                       \
  X(SheetFormScore, u"Score:___________", u"得分：_________")                                   \
  X(SheetFormWorkTime, u"Work Time:_______", u"工作时间：_____")                                \
  X(RowAlreadyWorked, u"Already worked: %dh:%02d'", u"已工作：%d小时%02d分")                     \
  X(RowNotYetStarted, u"Not yet started", u"尚未开始")                                          \
  X(RowPastPomos, u"Pomos: %d", u"番茄：%d")                                                    \
  X(AbandonedGaugeText, u"abandoned: %d%%", u"放弃：%d%%")                                      \
  X(DeadlineLabelOverdueToday, u" * OVERDUE today * ", u" * 今天到期 * ")                       \
  X(DeadlineLabelOverdue, u" * OVERDUE %d day%s ago * ", u" * 已逾期 %d 天 * ")                  \
  X(DeadlineLabelFewDays, u"%d day%s left", u"还剩 %d 天")                                      \
  X(DeadlineLabelDays, u"%d days left", u"还剩 %d 天")                                          \
  X(NoPreviousSheet, u"No previous ToDo sheet was found", u"没有找到更早的待办表")             \
  X(LatestSheet, u"That's the latest ToDo sheet.", u"这已经是最新的待办表。")             \
  TIRELMO_TODOLIST_TEXTS(X)                                                                  \
  TIRELMO_ROW_EDIT_TEXTS(X)                                                                  \
  TIRELMO_LIST_WINDOW_TEXTS(X)                                                               \
  TIRELMO_CHART_TEXTS(X)                                                                     \
  TIRELMO_HISTORY_TEXTS(X)                                                                   \
  TIRELMO_TIME_PER_DAY_TEXTS(X)                                                              \
  TIRELMO_PROJECT_TEXTS(X)                                                                   \
  TIRELMO_PROJECT_DIALOG_TEXTS(X)                                                            \
  TIRELMO_SETTINGS_TEXTS(X)                                                                  \
  TIRELMO_SETTINGS_DIALOG_TEXTS(X)                                                           \
  TIRELMO_USAGE_TEXTS(X)                                                                     \
  TIRELMO_USAGE_DIALOG_TEXTS(X)                                                              \
  TIRELMO_EXPORT_TEXTS(X)                                                                    \
  TIRELMO_SHIP_TEXTS(X)                                                                      \
  TIRELMO_CJK_TEXTS(X)                                                                       \
  TIRELMO_WEB_TEXTS(X)                                                                       \
  TIRELMO_CLOUD_TEXTS(X)                                                                     \
  TIRELMO_WEB_WIN32_TEXTS(X)

// The pie charts and the Performance page.
#define TIRELMO_CHART_TEXTS(X) \
  X(PerfHeader, u"- Your Performance in %s %d -", u"- 您在%d年%d月的表现 -") \
  X(PerfHoursWorked, u"Hours Worked:", u"工作时间") \
  X(PerfMonthTotal, u"%d hrs : %d min", u"%d小时 : %d分钟") \
  X(PerfPomodoros, u"Pomodoros", u"番茄") \
  X(PerfInterruptions, u"Interruptions", u"打扰") \
  X(PerfStarted, u"Started", u"已启用的番茄") \
  X(PerfCompleted, u"Completed", u"已完成的番茄") \
  X(PerfInternal, u"Internal", u"内部打扰") \
  X(PerfExternal, u"External", u"外部打扰")

// The History and Previous Day pages.
#define TIRELMO_HISTORY_TEXTS(X) \
  X(HistoryNoRecord, u"(No record)", u"(无记录)") \
  X(HistoryTitle, u"Worked Todos  - %s %d", u"工作任务清单 - %d年 %d月") \
  X(HistoryDoneIn, u"(Done in %d')", u"") \
  X(HistoryDoneInHours, u"(Done in %d:%02d')", u"") \
  X(PieTimePerCategory, u"Time Spent per Category", u"每个分类花费时间") \
  X(PieTimePerProject, u"Time Spent per Project", u"每个项目花费时间") \
  X(DayShortSun, u"Sun", u"周日") \
  X(DayShortMon, u"Mon", u"周一") \
  X(DayShortTue, u"Tue", u"周二") \
  X(DayShortWed, u"Wed", u"周三") \
  X(DayShortThu, u"Thu", u"周四") \
  X(DayShortFri, u"Fri", u"周五") \
  X(DayShortSat, u"Sat", u"周六") \
  X(PrevDayStartedNoTasks, u"You started no tasks", u"您没有启动任务") \
  X(PrevDayHeadingNoTasks, u"%s you started no tasks.", u"%s 您没有启动任务.") \
  X(PrevDayDateNoTasks, u"On %s (%s %d, %d) you started no tasks.", u"您在%s(%d月%d日, %d年)没有启动任何任务") \
  X(PrevDayCompleted, u"You completed %d task%s", u"已完成%d个任务") \
  X(PrevDayCompletedNone, u"You didn't complete any task", u"您没有完成任何任务") \
  X(PrevDayAlsoWorked, u"You also worked %d task%s", u"您还完成了%d个任务") \
  X(PrevDayAlsoWorkedNone, u"you didn't work other tasks", u"您没有执行其他任务") \
  X(PrevDayInDays, u"in %d day%s", u"") \
  X(PrevDayLegacyAlsoWorked, u"I also worked on", u"")

// The time-per-day dialog and chart.
#define TIRELMO_TIME_PER_DAY_TEXTS(X) \
  X(TimePerDayTitle, u"Time spent per day", u"每天花费的时间") \
  X(TimePerDayRange, u"%s %d, %d - %s %d, %d", u"%s %d, %d - %s %d, %d") \
  X(TimePerDayTotal, u"Total Time: %dh:%02d'", u"总时间：%dh:%02d'") \
  X(TimePerDayAxis, u"Time", u"时间") \
  X(TimePerDayBadInterval, u"Date interval is not correctly set.", u"日期区间设置不正确。") \
  X(TimePerDayDateError, u"Date error", u"日期错误") \
  X(TimePerDayEmptyRow, u"The current row is empty.\nSelect a row with a task to see the time spent on it.", \
    u"当前行为空。\n请选择一个有任务的行以查看在其上花费的时间。") \
  X(TimePerDayFrom, u"From:", u"从：") \
  X(TimePerDayTo, u"To:", u"到：") \
  X(TimePerDayShow, u"&Show", u"显示(&S)") \
  X(TimePerDayClose, u"Close", u"关闭")

// The Todolists: registry, list files, new list, switching.
#define TIRELMO_TODOLIST_TEXTS(X)                                                            \
  X(TodolistsMaximum, u"Maximum number of Todolists was reached.", u"任务清单数量已达上限。")  \
  X(CaptionOperationAborted, u"Operation Aborted", u"操作已中止")                             \
  X(TodolistNameBlank, u"Please type a name for the new Todolist.", u"请输入新任务清单的名称。") \
  X(TodolistNameTooLong,                                                                     \
    u"This name is too long.\nA Todolist name can have at most 63 characters, and the path of its file at most 259.", \
    u"名称太长。\n任务清单名称最多 63 个字符，其文件路径最多 259 个字符。")                   \
  X(TodolistNameBadCharacter,                                                                \
    u"A Todolist name cannot contain any of the characters \\ / : * ? \" < > | nor control characters, and cannot be \".\" or \"..\".", \
    u"任务清单名称不能包含字符 \\ / : * ? \" < > | 或控制字符，也不能是 \".\" 或 \"..\"。")     \
  X(TodolistNameTrailingDotOrSpace, u"A Todolist name cannot end with a dot or a space.",    \
    u"任务清单名称不能以句点或空格结尾。")                                                     \
  X(TodolistNameDevice,                                                                      \
    u"\"%s\" is a name Windows keeps for its devices (CON, PRN, AUX, NUL, COM1-9, LPT1-9).\nPlease choose another name.", \
    u"\"%s\" 是 Windows 保留给设备的名称（CON、PRN、AUX、NUL、COM1-9、LPT1-9）。\n请选择其他名称。") \
  X(TodolistNameExists, u"A Todolist named \"%s\" exists already.\nPlease choose another name.", \
    u"名为 \"%s\" 的任务清单已存在。\n请选择其他名称。")                                       \
  X(TodolistCreateFailed, u"The file of the new Todolist could not be created.",             \
    u"无法创建新任务清单的文件。")                                                             \
  X(TodolistUnreadable,                                                                      \
    u"The Todolist \"%s\" could not be read.\nIt is shown empty and will not be saved over.",  \
    u"无法读取任务清单 \"%s\"。\n它显示为空，且不会被覆盖。")                                   \
  X(TodolistDamagedCopyKept,                                                                 \
    u"The Todolist \"%s\" could not be read whole.\nA copy of the file was kept as %s.",       \
    u"任务清单 \"%s\" 未能完整读取。\n该文件的副本已保存为 %s。")                               \
  X(TodolistDamagedNoCopy,                                                                   \
    u"The Todolist \"%s\" could not be read whole, and no copy of it could be made.\nIt is shown read-only and will not be saved over.", \
    u"任务清单 \"%s\" 未能完整读取，且无法为其保存副本。\n它以只读方式显示，且不会被覆盖。")     \
  X(TodolistSaveFailed, u"The Todolist \"%s\" could not be saved.\nThe file keeps its previous content.", \
    u"无法保存任务清单 \"%s\"。\n该文件保留之前的内容。")                                       \
  X(TodolistStaysOpen,                                                                       \
    u"The Todolist \"%s\" could not be saved, so it stays open.\nYour changes are still on the page.", \
    u"无法保存任务清单 \"%s\"，因此它保持打开。\n您的更改仍在页面上。")

// Row editing: delete, clipboard, moves, sort, deadline.
#define TIRELMO_ROW_EDIT_TEXTS(X) \
  X(NoFreeRowsOnDestination, u"Sorry, destination page has no free rows.", u"抱歉，目标页面没有空行。") \
  X(MoveDoneTask, \
    u"This task is marked as done.\nTo move this row you need first to remove the 'done' score.\nRemove the done score?", \
    u"此任务已标记为完成。\n要移动此行，需要先删除“完成”标记。\n是否删除完成标记？") \
  X(MoveErasesScores, \
    u"This operation will erase the info related to the time spent on this task and its scores.\n\nContinue?", \
    u"此操作将清除与此任务所用时间相关的信息及其分数。\n\n是否继续？") \
  X(MoveDoneTasks, \
    u"Some of the selected tasks are marked as done.\nRemove their 'done' score before moving them.\n\nOperation aborted.", \
    u"所选任务中有些已标记为完成。\n移动前请先删除它们的“完成”标记。\n\n操作已中止。") \
  X(SortTodayPageOnly, u"This feature is available only for Todo-today page. Operation canceled.", \
    u"此功能仅适用于今日待办页面。操作已取消。") \
  X(SortNoSeparator, u"Row 'Unplanned And Urgent' is in position -1. Operation canceled.", \
    u"“Unplanned And Urgent”行位于位置 -1。操作已取消。") \
  X(SeparatorRowFixed, u"The row 'Unplanned & Urgent' cannot be deleted, cut, moved away or pasted over.\n\nOperation aborted.", \
    u"“Unplanned & Urgent”行不能被删除、剪切、移走或粘贴覆盖。\n\n操作已中止。") \
  X(TimerRowLocked, u"The timer is running on this task.\nStop the timer before deleting, cutting or moving it.\n\nOperation aborted.", \
    u"计时器正在此任务上运行。\n删除、剪切或移动它之前请先停止计时器。\n\n操作已中止。") \
  X(ClipboardNotOpened, u"The clipboard could not be opened.\nThe row was not cut.", \
    u"无法打开剪贴板。\n此行未被剪切。") \
  X(TodolistReadOnly, u"This Todolist could not be read, so it cannot be changed.\n\nOperation aborted.", \
    u"无法读取此任务清单，因此不能修改它。\n\n操作已中止。") \
  X(DeadlineOutOfRange, u"This date cannot be set as a deadline.\nPlease choose a date from the year 2000 to 2255.", \
    u"此日期不能设为截止日期。\n请选择 2000 年至 2255 年之间的日期。")

// The Next Things page and the Todolist dialogs.
#define TIRELMO_LIST_WINDOW_TEXTS(X) \
  X(ListDlgNewListHeading, u"Create a new Todo List", u"新建任务清单") \
  X(ListDlgNewListInsert, u"Insert", u"输入") \
  X(ListDlgNewListName, u"Name:", u"名称：") \
  X(ListDlgManageDragHint, u"Drag items to change order.", u"拖动项目以更改顺序。") \
  X(ListDlgManageEditHint, u"To edit an item: select and then click again.", u"编辑项目：先选中，然后再单击一次。") \
  X(ListDlgTitleBlank, u"The title of a Todolist cannot be empty.", u"任务清单的标题不能为空。") \
  X(ListDlgTitleTooLong, u"The title of a Todolist can have at most %d characters.", u"任务清单的标题最多只能有 %d 个字符。") \
  X(ListDlgTitleControlCharacter, u"The title of a Todolist cannot contain line breaks or tabs.", u"任务清单的标题不能包含换行符或制表符。") \
  X(ListDlgSelectDestinationList, u"Please select a Destination List.", u"请选择目标清单。") \
  X(ListDlgDestinationOtherThanToday, u"Please select a Destination List other than Todo Today.", u"请选择“今日待办”以外的目标清单。") \
  X(ListDlgMoveRowsChanged, u"The rows have changed since this window was opened.\nThe list now shows them as they are: please select the rows to move again.", u"自打开此窗口以来，这些行已被更改。\n列表现在显示的是当前内容：请重新选择要移动的行。") \
  X(ListDlgDeadlineSetOn, u"Deadline is set on: %s %d, %d", u"截止日期设为：%s %d, %d") \
  X(ListDlgNoDeadlineSet, u"No deadline is set", u"未设置截止日期") \
  X(ListDlgDeadlineRowChanged, u"The row has changed since this window was opened.\nThe deadline was not changed.", u"自打开此窗口以来，该行已被更改。\n截止日期未更改。")

// Project operations and the Projects page.
#define TIRELMO_PROJECT_TEXTS(X) \
  X(ProjectNameMissing, u"Insert a name for the Project", u"插入一个项目名称") \
  X(ProjectNotActive, u"This project is closed or no longer exists.\nThe task was not linked.", u"该项目已结案或已不存在。\n任务未被链接。") \
  X(ProjectsNone, u"(No Project)", u"(无项目)") \
  X(ProjectsOverallTitle, u"Overall Time per Project", u"每个项目的总时间") \
  X(ProjectsClosedTitle, u"List of Closed Projects", u"已结案项目清单")

// The project dialogs and the categories dialog.
#define TIRELMO_PROJECT_DIALOG_TEXTS(X) \
  X(PrjDlgRowEmpty, u"The current row is empty!\n\nDo you want to know more about how to use Projects?", u"当前行是空的！\n\n您想进一步了解如何使用项目吗？") \
  X(PrjDlgNoProject, u"<No project>", u"<无项目>") \
  X(PrjDlgRowChanged, u"The row has changed since this window was opened.\nThe project link was not changed.", u"自打开此窗口以来，该行已被更改。\n项目链接未更改。") \
  X(PrjDlgProjectGone, u"This project is no longer among the active projects.\nNothing was changed.", u"该项目已不在进行中的项目之列。\n未做任何更改。") \
  X(CategoriesHeading, u"Define your Categories", u"定义您的分类")

// Settings checks and the data-folder move.
#define TIRELMO_SETTINGS_TEXTS(X) \
  X(CaptionValueOutOfRange, u"Value entered out of range", u"输入的值超出范围") \
  X(SettingsPomodoroRange, u"Minutes for a Pomodoro®\nmust be within [5:90]", u"番茄钟®的分钟数\n必须在 [5:90] 之内") \
  X(SettingsBreakRange, u"Minutes for Break-Time\nmust be less than 20", u"休息时间的分钟数\n必须小于 20") \
  X(DataFolderCopyFailed, u"Copy Failed!", u"复制失败！") \
  X(DataFolderEmpty, u"Please enter a data folder.", u"请输入数据文件夹。") \
  X(DataFolderRelative, u"The data folder must be a full path,\nlike C:\\Tirelmo Data or \\\\server\\share\\Tirelmo.", \
    u"数据文件夹必须是完整路径，\n例如 C:\\Tirelmo Data 或 \\\\server\\share\\Tirelmo。") \
  X(DataFolderBadCharacter, u"A folder name cannot contain * ? \" < > | or control characters.", \
    u"文件夹名称不能包含 * ? \" < > | 或控制字符。") \
  X(DataFolderSame, u"This is the data folder already in use, written differently.\nNothing needs to be moved: please choose another folder or leave the field as it was.", \
    u"这就是当前使用的数据文件夹（写法不同）。\n无需移动：请选择其他文件夹，或保持原样。") \
  X(DataFolderInside, u"The new data folder cannot be inside the current data folder.\nPlease choose a folder outside it.", \
    u"新的数据文件夹不能位于当前数据文件夹之内。\n请选择其外的文件夹。") \
  X(DataFolderTooLong, u"The path of the new data folder is too long:\nsome data files there would have paths longer than 255 characters.\nPlease choose a shorter path.", \
    u"新数据文件夹的路径太长：\n其中某些数据文件的路径将超过 255 个字符。\n请选择较短的路径。")

// The Settings dialog.
#define TIRELMO_SETTINGS_DIALOG_TEXTS(X) \
  X(SetDlgTitle, u"Settings", u"设置") \
  X(SetDlgTimerActive, u"Timer is active! Can't show Settings.\n\nOperation Aborted", u"操作失败，计时器正在运行，无法显示设置.") \
  X(SetDlgGroupTimer, u"Timer", u"计时器") \
  X(SetDlgMinutes, u"Minutes", u"分钟") \
  X(SetDlgBreak, u"Break time  (0 = disabled)", u"休息时间  (0 = 不休息)") \
  X(SetDlgRing, u"Ring", u"响铃") \
  X(SetDlgTick, u"Tick", u"滴答声") \
  X(SetDlgType, u"Type", u"类型") \
  X(SetDlgGroupLook, u"Look and Feel", u"外观") \
  X(SetDlgSkin, u"Skin", u"皮肤") \
  X(SetDlgProjectNames, u"Display  Project Names", u"显示项目名称") \
  X(SetDlgFont, u"Font", u"字体") \
  X(SetDlgSize, u"Size", u"大小") \
  X(SetDlgLanguage, u"Language", u"语言") \
  X(SetDlgGroupBehaviour, u"Behaviour", u"行为") \
  X(SetDlgMinimize, u"Minimize when Timer is started", u"计时器启动时最小化") \
  X(SetDlgRunAtStartup, u"Run at startup", u"开机时启动") \
  X(SetDlgDataFolder, u"Data folder", u"数据文件夹") \
  X(SetDlgBrowse, u"Browse..", u"浏览..") \
  X(SetDlgBrowseTitle, u"New Tirelmo Data Folder", u"新的 Tirelmo 数据文件夹")

// The usage table and the Apps + Websites page.
#define TIRELMO_USAGE_TEXTS(X)                                                               \
  X(UsageTitle, u"Time Spent Today per Apps and Websites", u"今日在各应用和网站上花费的时间")    \
  X(UsageMinutes, u"%dmin", u"%d分钟")                                                          \
  X(UsageHoursMinutes, u"%dh : %dmin", u"%d小时 : %d分钟")

// The usage delete dialog.
#define TIRELMO_USAGE_DIALOG_TEXTS(X)

// Exporting the data.
#define TIRELMO_EXPORT_TEXTS(X)                                                                  \
  X(MenuExportData, u"Export data…", u"导出数据…")                                               \
  X(ExportBrowseTitle, u"Choose the folder for the exported data (CSV and JSON)",              \
    u"选择导出数据（CSV 和 JSON）的文件夹")                                                      \
  X(ExportDone, u"Your data was exported into\n%s\n\nToDo sheets: %d (%d tasks)\nDone tasks: %d\nMonth statistics: %d days\nProjects: %d\nApps and websites: %d", \
    u"您的数据已导出到\n%s\n\n待办列表: %d (%d 个任务)\n已完成的任务: %d\n月统计: %d 天\n项目: %d\n应用和网站: %d") \
  X(ExportDamaged, u"\n\n%d damaged files could not be exported whole; the log names them.",  \
    u"\n\n%d 个损坏的文件未能完整导出，日志中列出了它们。")                                      \
  X(ExportInsideData, u"Please choose a folder outside the data folder:\n%s",                  \
    u"请选择数据文件夹以外的文件夹:\n%s")                                                       \
  X(ExportNothing, u"No data to export was found in\n%s", u"在以下位置未找到可导出的数据:\n%s") \
  X(ExportFailed, u"The export could not be written into\n%s\n\nIs the disk full or the folder read-only?", \
    u"无法将导出写入\n%s\n\n磁盘是否已满或文件夹为只读?")

// Installer and shipping.
#define TIRELMO_SHIP_TEXTS(X)

// The daily web requests and the web commands.
#define TIRELMO_WEB_TEXTS(X)

// The cloud copy.
#define TIRELMO_CLOUD_TEXTS(X)

// The web services' window side (DLG_CHKVER, the version question).
#define TIRELMO_WEB_WIN32_TEXTS(X)                                                                \
  X(ChkVerCheckingIf, u"Checking if", u"正在检查")                                               \
  X(ChkVerNewerVersion, u"a newer version", u"是否有新版本")                                     \
  X(ChkVerIsAvailable, u"is available...", u"可用...")                                           \
  X(NewerVersionQuestion,                                                                        \
    u"A newer version exist.\n\nYou have %s\nLast version is %s.\nDo you want to download it from the Morvex web site?", \
    u"有新版本。\n\n您的版本是 %s\n最新版本是 %s。\n您要从 Morvex 网站下载吗？")                  \
  X(CaptionUpdatesAvailable, u"Tirelmo Updates available", u"Tirelmo 有可用更新")

// Chinese twins found missing on screen.
#define TIRELMO_CJK_TEXTS(X) \
  X(ProjectStatusNotStarted, u"Not Started", u"未开始") \
  X(ProjectStatusInProgress, u"In Progress", u"进行中") \
  X(ProjectStatusSuspended, u"Suspended", u"已暂停") \
  X(ProjectStatusClosed, u"Closed", u"已关闭") \
  X(TimePerDayRangeYmd, u"%d-%d-%d - %d-%d-%d", u"%d年%d月%d日 - %d年%d月%d日") \
  X(CjkCreate, u"&Create", u"创建(&C)") \
  X(CjkNewTodolistTitle, u"New Todolist", u"新建任务清单") \
  X(CjkManageTodolistsTitle, u"Manage Todo lists", u"管理任务清单") \
  X(CjkMoveRowsTitle, u"Select Rows to Move", u"选择要移动的行") \
  X(CjkDestinationList, u"Destination List", u"目标清单") \
  X(CjkDeadlineTitle, u"Set a Deadline for this todo item", u"为此待办事项设置截止日期") \
  X(CjkDeadlineToDo, u"To do:", u"待办：") \
  X(CjkRemoveDeadline, u"Remove Deadline", u"删除截止日期") \
  X(CjkLinkTitle, u"Link Todo to Project", u"将待办链接到项目") \
  X(CjkCurrentlyLinked, u"Currently linked to", u"当前链接到") \
  X(CjkLinkToProject, u"Link to Project", u"链接到项目") \
  X(CjkEditProjectTitle, u"Edit Project", u"编辑项目") \
  X(CjkSelectProjectToEdit, u"Select Project to edit:", u"选择要编辑的项目：") \
  X(CjkProjectName, u"Project Name", u"项目名称") \
  X(CjkProjectState, u"State", u"状态") \
  X(CjkSelectProject, u"Select Project", u"选择项目") \
  X(CjkCategoriesTitle, u"Categories", u"分类") \
  X(CjkUsageDeleteTitle, u"Remove Entries from App + Website Stats", u"从应用和网站统计中删除条目") \
  X(CjkUsageSelectItem, u"Select Item to delete:", u"选择要删除的条目：") \
  X(CjkDelete, u"&Delete", u"删除(&D)") \
  X(CjkHelpShortcutKeys, u"Shortcut Keys", u"快捷键") \
  X(CjkHelpTab, u"Tab = Main Menu", u"Tab = 主菜单") \
  X(CjkHelpF5, u"F5 = Start Timer", u"F5 = 开始计时") \
  X(CjkHelpF6, u"F6 = Stop Timer", u"F6 = 停止计时") \
  X(CjkHelpSave, u"Ctrl + S = Save", u"Ctrl + S = 保存") \
  X(CjkHelpPrevNext, u"Alt + Left/Right = Prev/Next ToDo", u"Alt + 左/右 = 上一个/下一个待办") \
  X(CjkHelpRowUp, u"Alt + Up = Move Row Up", u"Alt + 上 = 上移一行") \
  X(CjkHelpRowDown, u"Alt + Down = Move Row Down", u"Alt + 下 = 下移一行") \
  X(CjkHelpScoreKeys, u"Score Keys", u"分数快捷键") \
  X(CjkHelpTomato, u"Tomato:         Ctrl + T   (Ctrl + Shift + T = remove)", u"番茄钟：   Ctrl + T   (Ctrl + Shift + T = 删除)") \
  X(CjkHelpInterruption, u"Interruption:   Ctrl + I   (Ctrl + Shift + I = remove)", u"内部中断： Ctrl + I   (Ctrl + Shift + I = 删除)") \
  X(CjkHelpExternal, u"Extern Interr:  Ctrl + E   (Ctrl + Shift + E = remove)", u"外部中断： Ctrl + E   (Ctrl + Shift + E = 删除)") \
  X(CjkHelpAbandoned, u"Abandoned:      Ctrl + A   (Ctrl + Shift + A = remove)", u"放弃：     Ctrl + A   (Ctrl + Shift + A = 删除)") \
  X(CjkHelpEstimated, u"Estimated:      Ctrl + Y   (Ctrl + Shift + Y = remove)", u"预估：     Ctrl + Y   (Ctrl + Shift + Y = 删除)") \
  X(CjkHelpDone, u"Task Done:      Ctrl + D   (Ctrl + Shift + D = remove)", u"任务完成： Ctrl + D   (Ctrl + Shift + D = 删除)") \
  X(CjkHelpSupport, u"Support Contact", u"支持与联系") \
  X(CjkHelpRequest, u"Request Support or a New Feature, Leave a Comment or Report a Bug", u"请求支持或新功能、留言或报告错误") \
  X(CjkHelpWriteMe, u"Write me!", u"写信给我！") \
  X(CjkAboutTitle, u"About Tirelmo", u"关于 Tirelmo") \
  X(CjkAboutBenefit, u"If you benefit from Tirelmo", u"如果 Tirelmo 对您有帮助，") \
  X(CjkAboutDonation, u"please make a small donation.", u"请小额捐赠。") \
  X(CjkAboutSuggest, u"I suggest 5$,", u"我建议 5 美元，") \
  X(CjkAboutAmount, u"but you can choose the amount.", u"但金额由您决定。") \
  X(CjkAboutDonate, u"Donate", u"捐赠") \
  X(CjkAboutNoThanks, u"&No thanks", u"不，谢谢(&N)")
// clang-format on

enum class Txt {
#define TIRELMO_TEXT_ID(id, en, zh) id,
  TIRELMO_TEXTS(TIRELMO_TEXT_ID)
#undef TIRELMO_TEXT_ID
      Count
};

// The text in the given language; English when no twin exists.
const char16_t* text(Txt id, Language lang);

}  // namespace tirelmo
