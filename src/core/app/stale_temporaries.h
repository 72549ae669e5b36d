// The whole-file writer builds every new version as "<name>.tmp" beside the file it
// replaces. A crash can leave that file behind; it is never data, so the start removes it.
#pragma once

#include "app/app.h"

namespace tirelmo {

// A name this program writes through the whole-file writer: sheets, settings, projects,
// month statistics, the done-task month archive, the yesterday archive.
bool isOurDataFileName(u16v name);
// "<one of those names>.tmp": our own temporary file, and only that.
bool isOurTemporaryName(u16v name);

// Deletes our temporary files from the folders the writer writes into (the sheet folders
// of this month and the previous one, stats, Projects, the user-data and the default
// folder), with a log line each. Returns how many were removed.
int removeStaleTemporaries(const App& app);

}  // namespace tirelmo
