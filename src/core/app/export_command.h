// The "Export data…" command: what it saves first, where the export goes, what it tells.
#pragma once

#include <functional>

#include "text/ustring.h"

namespace tirelmo {

struct App;

// Saves the open sheet and list (so the export holds what is on screen), asks for the
// destination through chooseFolder (false: the person cancelled), exports the user-data
// folder there and tells the result in a message box. A destination inside the data folder
// is refused with a message and nothing is written. True when the export was written.
bool runExportCommand(App& app, const std::function<bool(u16& folder)>& chooseFolder);

}  // namespace tirelmo
