// The commands that open a web page of the maker or a page of the offline manual shipped
// beside the program (bin\help\*.html), and the two other requests the main window makes of
// the desktop shell: showing the log folder for a bug report and the run-at-start-up entry.
#pragma once

#include "text/ustring.h"

namespace tirelmo {

struct App;

// True when the command is one of the web or manual page commands (1023, 1113, 1120, 1121,
// 1122, 1124, 1142, 1145, 1510, 1514, 1522, 1523, 1524, 1528, 1548) and it was handled: the
// page was handed to app.shell, or, when it could not be, the user was told and a line was
// logged. False for every other command (nothing happens then).
bool runWebPageCommand(App& app, int command);

// The web address a command opens, empty when the command opens no web address.
u16v webAddressOf(int command);

// The manual page (file name in the help folder) a command opens, empty when none.
u16v manualPageOf(int command);

// The page every other manual page links back to; opened when a page is missing.
inline constexpr char16_t kManualIndexPage[] = u"index.html";

// Full path of a manual page: <program folder>\help\<page>.
u16 manualPagePath(const App& app, u16v page);

// Report a bug (command 1511, F7): explains which files to send and, on OK, shows the
// default user-data folder (where the settings and the logs are). True when the folder was
// opened.
bool runReportBug(App& app);

// Adds (on) or removes the entry that starts this executable at logon, with its log lines.
// True when the shell made the change.
bool applyRunAtStartup(App& app, bool on);

}  // namespace tirelmo
