// The shell port: what the program asks of the desktop around it — open a web address or a
// document in the user's own program, show a folder, and the run-at-start-up entry.
#pragma once

#include "text/ustring.h"

namespace tirelmo {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens the address in the user's browser; false when the desktop refused.
  virtual bool openUrl(u16v url) = 0;
  // Opens a local document (the offline manual pages) with its registered program.
  virtual bool openFile(u16v path) = 0;
  // Shows the folder in the file manager.
  virtual bool exploreFolder(u16v folder) = 0;
  // Adds (on) or removes (off) the entry that starts the program when the user logs on.
  virtual bool setRunAtStartup(bool on, u16v exePath) = 0;
  // True when the start-up entry exists and names exactly this executable (the settings
  // dialog ticks its "Run at startup" box by it).
  virtual bool runsAtStartup(u16v exePath) = 0;
  // The platform clipboard as Unicode text. setClipboardText empties it and puts the text;
  // clipboardText is false when the clipboard holds no text or cannot be opened.
  virtual bool setClipboardText(u16v text) = 0;
  virtual bool clipboardText(u16& text) = 0;
};

// Used until the window side installs the real shell, and by tests that never open anything.
class NoShell : public Shell {
 public:
  bool openUrl(u16v) override { return false; }
  bool openFile(u16v) override { return false; }
  bool exploreFolder(u16v) override { return false; }
  bool setRunAtStartup(bool, u16v) override { return false; }
  bool runsAtStartup(u16v) override { return false; }
  bool setClipboardText(u16v) override { return false; }
  bool clipboardText(u16&) override { return false; }
};

}  // namespace tirelmo
