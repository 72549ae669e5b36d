// Changing the settings from the Settings dialog: the drop-down contents and their selection
// rule, the checks on OK, building the new record from what the dialog shows, what follows a
// change (save, rebuild the look) and moving every data file to a new user-data folder.
// The dialog itself (Win32) only reads and fills controls and calls here.
#pragma once

#include <vector>

#include "storage/settings.h"
#include "text/strings.h"
#include "text/ustring.h"

namespace tirelmo {

struct App;

// The entries of the drop-downs, in the dialog's order ("Type" is chosen by index).
const std::vector<u16>& timerTypeEntries();
const std::vector<u16>& skinEntries();
const std::vector<u16>& fontEntries();
const std::vector<u16>& fontSizeEntries();  // "14".."47" in the "%2d" form
const std::vector<u16>& languageEntries();

// The first entry that begins with `current`, ignoring case; -1 when none does (the
// drop-down then shows nothing chosen and the setting is kept).
int dropDownSelection(const std::vector<u16>& entries, u16v current);
// The size as the "Size" drop-down spells it ("%2d").
u16 fontSizeText(int size);

// What the dialog's controls hold at OK. An empty drop-down text (nothing chosen) and a
// timer type of -1 keep the setting as it was.
struct SettingsDialogValues {
  u16 pomodoroMinutes;  // as typed
  u16 breakMinutes;
  bool ring = false;
  bool tick = false;
  int timerType = -1;
  u16 skin;
  bool displayProjectNames = false;
  u16 font;
  u16 fontSize;
  u16 language;
  bool minimizeToTray = false;
  bool runAtStartup = false;
  u16 dataFolder;
};

// The OK checks that keep the dialog open. The user has been told; the dialog puts
// `resetValue` into the named field.
enum class SettingsField { None, PomodoroMinutes, BreakMinutes, DataFolder };
struct SettingsCheck {
  SettingsField field = SettingsField::None;
  int resetValue = 0;
};
SettingsCheck checkSettingsDialog(App& app, const SettingsDialogValues& v);

// The record the dialog asks for: `before` with every value of the dialog put in (texts cut
// to their capacities, "Vert_ScrollBar" 1). Only call after checkSettingsDialog passed.
Settings settingsFromDialog(const Settings& before, const SettingsDialogValues& v);

// Why a new data folder is refused; None when it can be used.
// BadCharacter: a wildcard, quote, '<', '>', '|' or control character, which no folder name
// can hold (a wildcard would even turn the copy into a pattern).
enum class DataFolderProblem { None, Empty, Relative, SameFolder, InsideDataFolder, PathTooLong, BadCharacter };
// `oldDir` is the folder in use. The longest path the data will have there (a Todolist's
// file in "NextThings") must fit the settings' 255 units.
DataFolderProblem checkNewDataFolder(const App& app, u16v oldDir, u16v newDir);
Txt dataFolderProblemText(DataFolderProblem p);
// Two spellings of one folder ("C:\Data", "c:\data\", "C:\.\Data"): case, '/' or '\',
// empty and "." pieces, ".." and trailing blanks or dots of a piece make no difference.
bool sameDataFolder(u16v a, u16v b);

// Copies a folder or a wildcard pattern of files into a folder (created when missing), with
// the "Copying:" / "To:" log lines; false after logging the failure.
bool copyFolderContents(u16v source, u16v destination);

// Moves all data from oldDir to newDir: unsaved edits saved first, then every group copied
// (sheets, statistics, projects, archives, Todolists with the registry's paths pointing
// into the new folder, the usage file). On success the program works in the new folder from
// then on (current directory, sheet list, last2dofilename, Todolist paths); on failure the
// settings name the old folder again and are saved at once. True on success.
bool moveDataFolder(App& app, u16v oldDir, u16v newDir);

// Steps after the dialog ended with OK, `before` being the record when it opened and
// app.settings already the new one: nothing when nothing differs; otherwise save, the second
// font height, the look rebuilt (hook) when skin, project names, font, size or language
// changed, the data moved when the folder changed. Returns true when something changed.
bool applyChangedSettings(App& app, const Settings& before);

// Whether a change between the two records needs the pages rebuilt.
bool settingsChangeTouchesLook(const Settings& before, const Settings& after);

}  // namespace tirelmo
