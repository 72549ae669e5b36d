// Commands the maker's service may send in the reply to the daily ping.
#pragma once

#include <cstddef>

#include "text/ustring.h"

namespace tirelmo {

// What a command may do. The window side implements it for the ping worker's thread:
// message boxes without an owner window, the default browser.
struct WebCommandActions {
  virtual ~WebCommandActions() = default;
  virtual void showError(u16v text) = 0;          // caption "Tirelmo", error icon, OK
  virtual bool askYesNo(u16v text) = 0;           // caption "Tirelmo", Yes / No
  virtual void openAddress(u16v address) = 0;     // only ever given http(s) addresses
};

// Only an absolute http:// or https:// address with a host and no control characters or
// blanks is opened; anything else (file:, UNC paths, programs, other schemes) is refused.
bool isOpenableWebAddress(u16v address);

// Interprets a reply of `length` bytes (never reads past it). userId: this installation's
// identifier (empty: only "everyone" commands act).
void execWebCmd(const char* reply, std::size_t length, u16v userId, WebCommandActions& actions);

}  // namespace tirelmo
