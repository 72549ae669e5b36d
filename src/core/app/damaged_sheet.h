// A sheet file that was read with damage keeps a copy of itself, "<name>.damaged-<n>"
// beside it, before anything is written over it: the next save would otherwise replace
// the records that could not be read by what little could.
#pragma once

#include "app/app.h"

namespace tirelmo {

// What the sheet in memory means for the damaged file: SavedOver when the sheet's saves go
// to that file (today's sheet, or one that may become it), ReadOnly when they never do (a
// previous day's sheet carried over).
enum class DamagedSheetUse { SavedOver, ReadOnly };

// Keeps a copy of the damaged sheet file at path (none when an earlier copy already holds
// the same bytes) and tells the person once. When no copy of a SavedOver file can be made,
// the sheet in memory is marked so that no save writes over it until one is. True when the
// file is kept.
bool keepDamagedSheet(App& app, u16v path, DamagedSheetUse use = DamagedSheetUse::SavedOver);

// Called before a save: true when the sheet came from no damaged file or the copy of that
// file exists (it is tried again here).
bool keepDamagedSheetBeforeSave(App& app);

// Any damaged data file (a Todolist too): its bytes go to the first free
// "<path>.damaged-<n>" (named in copy), unless an earlier copy holds them already.
enum class CopyOutcome { Made, KeptBefore, NoFile, Failed };
CopyOutcome copyDamagedFile(u16v path, u16& copy);

// The name of the n-th copy of a damaged file.
u16 damagedCopyPath(u16v path, int n);

// The same keeping for any reason named by tag: the first free "<path>.<tag>-<n>".
CopyOutcome copyFileBeside(u16v path, u16v tag, u16& copy);

}  // namespace tirelmo
